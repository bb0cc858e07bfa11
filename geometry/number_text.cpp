#include "geometry/number_text.h"

#include "number/float_chars.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace geometry {

// Every conversion below goes through std::to_chars or the double conversions
// of float_chars.h, none of which reads a locale: the separator handed in is
// the only one that ever appears.

std::string usableDecimalSeparator(std::string_view setting)
{
    // Up to three characters of UTF-8 (a character is one lead byte and its
    // continuation bytes).
    int characters = 0;
    for (const char c : setting)
        characters += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U ? 1 : 0;
    if (characters == 0 || characters > 3)
        return ".";
    constexpr std::string_view kTelling = "0123456789+-EeDd \t\r\n";
    if (setting.find_first_of(kTelling) != std::string_view::npos)
        return ".";
    return std::string(setting);
}

std::string longText(std::int64_t value)
{
    std::array<char, 24> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return std::string(buf.data(), res.ptr);
}

namespace {

// Formats a finite value rounded to `digits` significant digits.
std::string floatingText(double value, int digits, const NumberFormat& fmt)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    if (value == 0)
        return "0";

    // d.ddddde±XX, correctly rounded to `digits` significant digits.
    std::array<char, 64> buf{};
    const auto res = number::toCharsScientific(buf.data(), buf.data() + buf.size(), value, digits - 1);
    const std::string_view s(buf.data(), static_cast<size_t>(res.ptr - buf.data()));
    const auto ePos = s.find('e');
    const bool negative = s[0] == '-';
    const std::string_view mantissa = s.substr(negative ? 1 : 0, ePos - (negative ? 1 : 0));
    // to_chars always writes a sign and at least two digits after the 'e'.
    int exponent = 0;
    const std::string_view expText = s.substr(ePos + 1);
    std::from_chars(expText.data() + (expText[0] == '+' ? 1 : 0), expText.data() + expText.size(), exponent);

    std::string allDigits;
    for (char c : mantissa)
        if (c != '.')
            allDigits += c;
    while (allDigits.size() > 1 && allDigits.back() == '0')
        allDigits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= digits || exponent < -4) {
        out += allDigits.substr(0, 1);
        if (allDigits.size() > 1)
            out += fmt.decimalSeparator + allDigits.substr(1);
        const std::string expDigits = longText(std::abs(exponent));
        out += exponent < 0 ? "E-" : "E+";
        if (expDigits.size() < 2)
            out += '0';
        out += expDigits;
        return out;
    }
    if (exponent < 0) {
        out += "0" + fmt.decimalSeparator + std::string(static_cast<size_t>(-exponent) - 1, '0') + allDigits;
        return out;
    }
    const auto intDigits = static_cast<size_t>(exponent) + 1;
    if (allDigits.size() <= intDigits) {
        out += allDigits + std::string(intDigits - allDigits.size(), '0');
    } else {
        out += allDigits.substr(0, intDigits) + fmt.decimalSeparator + allDigits.substr(intDigits);
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The power of ten of the first significant digit of a number text
// ("[-]digits[.digits][e[sign]digits]"), e.g. 2 for "123.4", -3 for "0.0012".
std::int64_t decimalMagnitude(const std::string& number)
{
    const size_t ePos = number.find('e');
    const std::string mantissa = number.substr(0, ePos);
    std::int64_t exponent = 0;
    if (ePos != std::string::npos) {
        // Exponents beyond any range are clamped; the sign is what matters.
        const std::string digits = number.substr(ePos + 1);
        const bool negative = !digits.empty() && digits[0] == '-';
        for (char c : digits)
            if (isDigit(c) && exponent < 100000000)
                exponent = exponent * 10 + (c - '0');
        if (negative)
            exponent = -exponent;
    }
    const size_t point = mantissa.find('.');
    const size_t intEnd = point == std::string::npos ? mantissa.size() : point;
    std::int64_t position = 0; // power of ten of the current digit
    std::int64_t first = 0;
    bool found = false;
    size_t digitsBefore = 0;
    for (size_t i = 0; i < intEnd; ++i)
        if (isDigit(mantissa[i]))
            ++digitsBefore;
    position = static_cast<std::int64_t>(digitsBefore) - 1;
    for (size_t i = 0; i < mantissa.size() && !found; ++i) {
        if (!isDigit(mantissa[i]))
            continue;
        if (mantissa[i] != '0') {
            first = position;
            found = true;
        }
        --position;
    }
    return found ? first + exponent : 0;
}

} // namespace

std::string doubleText(double value, const NumberFormat& fmt) { return floatingText(value, 15, fmt); }

std::string singleText(float value, const NumberFormat& fmt)
{
    return floatingText(static_cast<double>(value), 7, fmt);
}

namespace {

// Copies the digits that start at text[i] to out and moves i past them;
// tells whether there was any.
bool copyDigits(std::string_view text, size_t& i, std::string& out)
{
    const size_t start = i;
    while (i < text.size() && isDigit(text[i]))
        out += text[i++];
    return i > start;
}

bool isOneOf(std::string_view text, size_t i, std::string_view chars)
{
    return i < text.size() && chars.find(text[i]) != std::string_view::npos;
}

} // namespace

double Val(std::string_view text)
{
    size_t i = 0;
    while (isOneOf(text, i, " \t"))
        ++i;

    std::string number;
    if (isOneOf(text, i, "+-")) {
        if (text[i] == '-')
            number += '-';
        ++i;
    }
    bool anyDigit = copyDigits(text, i, number);
    if (isOneOf(text, i, ".")) {
        number += '.';
        ++i;
        anyDigit = copyDigits(text, i, number) || anyDigit;
    }
    if (!anyDigit)
        return 0.0;
    if (isOneOf(text, i, "EeDd")) {
        // The exponent counts only when it has digits.
        std::string exponent = "e";
        size_t j = i + 1;
        if (isOneOf(text, j, "+-"))
            exponent += text[j++];
        if (copyDigits(text, j, exponent))
            number += exponent;
    }

    const char* first = number.data();
    const char* last = number.data() + number.size();
    const bool negative = *first == '-';
    double value = 0.0;
    const auto res = number::fromChars(negative ? first + 1 : first, last, value);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large gives an infinity; too small underflows to zero.
        value = decimalMagnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace geometry
