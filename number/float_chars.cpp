#include "number/float_chars.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace number {

std::to_chars_result toCharsScientific(char* first, char* last, double value, int precision)
{
#if TRIVYRHNIK_LIB_WRITES_DOUBLES && !defined(TRIVYRHNIK_FLOAT_CHARS_FALLBACK)
    return std::to_chars(first, last, value, std::chars_format::scientific, precision);
#else
    return float_chars_fallback::toCharsScientific(first, last, value, precision);
#endif
}

std::to_chars_result toCharsGeneral(char* first, char* last, double value, int precision)
{
#if TRIVYRHNIK_LIB_WRITES_DOUBLES && !defined(TRIVYRHNIK_FLOAT_CHARS_FALLBACK)
    return std::to_chars(first, last, value, std::chars_format::general, precision);
#else
    return float_chars_fallback::toCharsGeneral(first, last, value, precision);
#endif
}

std::from_chars_result fromChars(const char* first, const char* last, double& value)
{
#if TRIVYRHNIK_LIB_READS_DOUBLES && !defined(TRIVYRHNIK_FLOAT_CHARS_FALLBACK)
    return std::from_chars(first, last, value);
#else
    return float_chars_fallback::fromChars(first, last, value);
#endif
}

namespace float_chars_fallback {

namespace {

// An unsigned whole number of up to 1280 bits. The writer's numbers stay
// below 2^1080: the scale of the smallest doubles, 2^1074, times twenty.
class BigNumber {
public:
    explicit BigNumber(std::uint64_t value)
    {
        for (; value != 0; value >>= 32U)
            limbs_[size_++] = static_cast<std::uint32_t>(value);
    }

    bool isZero() const { return size_ == 0; }

    void multiply(std::uint32_t factor)
    {
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < size_; ++i) {
            const std::uint64_t product = std::uint64_t{limbs_[i]} * factor + carry;
            limbs_[i] = static_cast<std::uint32_t>(product);
            carry = product >> 32U;
        }
        if (carry != 0)
            limbs_[size_++] = static_cast<std::uint32_t>(carry);
    }

    void multiplyByPowerOfTen(int n)
    {
        static constexpr std::array<std::uint32_t, 10> kPowers{1,      10,      100,      1000,      10000,
                                                               100000, 1000000, 10000000, 100000000, 1000000000};
        for (; n >= 9; n -= 9)
            multiply(kPowers[9]);
        multiply(kPowers[static_cast<std::size_t>(n)]);
    }

    void shiftLeft(int bits)
    {
        if (isZero())
            return;
        const auto whole = static_cast<std::size_t>(bits) / 32;
        const auto part = static_cast<unsigned>(bits) % 32;
        std::array<std::uint32_t, kLimbs> shifted{};
        for (std::size_t i = 0; i < size_; ++i) {
            const std::uint64_t wide = std::uint64_t{limbs_[i]} << part;
            shifted[i + whole] |= static_cast<std::uint32_t>(wide);
            shifted[i + whole + 1] |= static_cast<std::uint32_t>(wide >> 32U);
        }
        limbs_ = shifted;
        size_ += whole + 1;
        trim();
    }

    // Subtracts a number not larger than this one.
    void subtract(const BigNumber& other)
    {
        std::uint64_t borrow = 0;
        for (std::size_t i = 0; i < size_; ++i) {
            const std::uint64_t taken = std::uint64_t{i < other.size_ ? other.limbs_[i] : 0U} + borrow;
            borrow = limbs_[i] < taken ? 1 : 0;
            limbs_[i] = static_cast<std::uint32_t>((std::uint64_t{limbs_[i]} + (borrow << 32U)) - taken);
        }
        trim();
    }

    // Negative, zero or positive as this number is below, equal to or above the other.
    int compare(const BigNumber& other) const
    {
        if (size_ != other.size_)
            return size_ < other.size_ ? -1 : 1;
        for (std::size_t i = size_; i-- > 0;)
            if (limbs_[i] != other.limbs_[i])
                return limbs_[i] < other.limbs_[i] ? -1 : 1;
        return 0;
    }

private:
    static constexpr std::size_t kLimbs = 40;

    void trim()
    {
        while (size_ > 0 && limbs_[size_ - 1] == 0)
            --size_;
    }

    std::array<std::uint32_t, kLimbs> limbs_{};
    std::size_t size_ = 0;
};

// The first `count` significant decimal digits of a value and the power of
// ten of the first of them.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// Rounds the exact decimal value of a finite, non-negative double to `count`
// significant digits, a tie going to the even digit. Zero gives zeros.
Decimal roundedDigits(double magnitude, int count)
{
    Decimal out;
    if (magnitude == 0) {
        out.digits.assign(static_cast<std::size_t>(count), '0');
        return out;
    }
    // magnitude = mantissa * 2^binaryExponent, exactly.
    // The bits through memcpy: std::bit_cast is missing from some libraries.
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof magnitude);
    std::memcpy(&bits, &magnitude, sizeof bits);
    const auto biased = static_cast<int>(bits >> 52U);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52U) - 1);
    int binaryExponent = -1074;
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << 52U;
        binaryExponent = biased - 1075;
    }

    // r / s = magnitude / 10^exponent, brought to 1 <= r / s < 10. The
    // estimate is floor(log10(2) * top bit position), exact for every top bit
    // a double has: the exponent or one less.
    BigNumber r(mantissa);
    BigNumber s(1);
    if (binaryExponent >= 0)
        r.shiftLeft(binaryExponent);
    else
        s.shiftLeft(-binaryExponent);
    const int topBit = binaryExponent + 63 - std::countl_zero(mantissa);
    int exponent = (topBit * 78913) >> 18; // a floor for negative positions too
    if (exponent >= 0)
        s.multiplyByPowerOfTen(exponent);
    else
        r.multiplyByPowerOfTen(-exponent);
    BigNumber ten = s;
    ten.multiply(10);
    if (r.compare(ten) >= 0) {
        s = ten;
        ++exponent;
    }

    // One digit at a time; once nothing is left the rest are zeros.
    out.digits.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (r.isZero()) {
            out.digits.append(static_cast<std::size_t>(count - i), '0');
            break;
        }
        if (i > 0)
            r.multiply(10);
        char digit = '0';
        for (; r.compare(s) >= 0; ++digit)
            r.subtract(s);
        out.digits += digit;
    }

    // The remainder against half a unit of the last digit.
    r.shiftLeft(1);
    const int half = r.compare(s);
    if (half > 0 || (half == 0 && (out.digits.back() - '0') % 2 == 1)) {
        auto it = out.digits.rbegin();
        for (; it != out.digits.rend() && *it == '9'; ++it)
            *it = '0';
        if (it == out.digits.rend()) {
            out.digits.front() = '1';
            ++out.exponent;
        } else {
            ++*it;
        }
    }
    out.exponent += exponent;
    return out;
}

// "e+05", "e-308": a sign and at least two digits.
void appendExponent(std::string& text, int exponent)
{
    text += exponent < 0 ? "e-" : "e+";
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        text += '0';
    std::array<char, 12> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude);
    text.append(buf.data(), res.ptr);
}

void dropTrailingZeros(std::string& fraction)
{
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
}

// "inf", "-inf", "nan", "-nan", as the standard writes them.
std::string nonFiniteText(double value)
{
    const std::string sign = std::signbit(value) ? "-" : "";
    return sign + (std::isnan(value) ? "nan" : "inf");
}

std::to_chars_result put(char* first, char* last, const std::string& text)
{
    if (last - first < static_cast<std::ptrdiff_t>(text.size()))
        return {last, std::errc::value_too_large};
    return {std::copy(text.begin(), text.end(), first), std::errc()};
}

// printf treats a negative precision as none given.
int effectivePrecision(int precision) { return precision < 0 ? 6 : precision; }

std::string scientificText(bool negative, const std::string& digits, int exponent, bool dropZeros)
{
    std::string text = negative ? "-" : "";
    text += digits.front();
    std::string fraction = digits.substr(1);
    if (dropZeros)
        dropTrailingZeros(fraction);
    if (!fraction.empty())
        text += '.' + fraction;
    appendExponent(text, exponent);
    return text;
}

} // namespace

std::to_chars_result toCharsScientific(char* first, char* last, double value, int precision)
{
    if (!std::isfinite(value))
        return put(first, last, nonFiniteText(value));
    const Decimal d = roundedDigits(std::fabs(value), effectivePrecision(precision) + 1);
    return put(first, last, scientificText(std::signbit(value), d.digits, d.exponent, false));
}

std::to_chars_result toCharsGeneral(char* first, char* last, double value, int precision)
{
    if (!std::isfinite(value))
        return put(first, last, nonFiniteText(value));
    const int significant = std::max(effectivePrecision(precision), 1);
    const Decimal d = roundedDigits(std::fabs(value), significant);
    const bool negative = std::signbit(value);
    // %g: scientific when the rounded value's exponent is below -4 or not
    // below the precision, else fixed with the same significant digits.
    if (d.exponent < -4 || d.exponent >= significant)
        return put(first, last, scientificText(negative, d.digits, d.exponent, true));
    std::string text = negative ? "-" : "";
    std::string fraction;
    if (d.exponent >= 0) {
        const auto intDigits = static_cast<std::size_t>(d.exponent) + 1;
        text += d.digits.substr(0, intDigits);
        fraction = d.digits.substr(intDigits);
    } else {
        text += '0';
        fraction = std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    }
    dropTrailingZeros(fraction);
    if (!fraction.empty())
        text += '.' + fraction;
    return put(first, last, text);
}

std::from_chars_result fromChars(const char* first, const char* last, double& value)
{
    double parsed = 0;
    const auto res = fast_float::from_chars(first, last, parsed);
    if (res.ec != std::errc())
        return {res.ptr, res.ec};
    // fast_float gives an infinity or zero for a numeral beyond the range
    // without saying so; "inf" and "nan" are no numerals.
    const char* p = first != res.ptr && *first == '-' ? first + 1 : first;
    const bool numeral = *p == '.' || (*p >= '0' && *p <= '9');
    bool nonZeroDigit = false;
    for (; p != res.ptr && *p != 'e' && *p != 'E'; ++p)
        nonZeroDigit = nonZeroDigit || (*p >= '1' && *p <= '9');
    if (numeral && (std::isinf(parsed) || (parsed == 0 && nonZeroDigit)))
        return {res.ptr, std::errc::result_out_of_range};
    value = parsed;
    return {res.ptr, std::errc()};
}

} // namespace float_chars_fallback

} // namespace number
