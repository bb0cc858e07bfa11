// The double conversions of float_chars.h. Known texts pin the fallback on
// every library; where the standard library has its own conversions the
// fallback must give exactly what they give, for random bit patterns,
// values at powers of ten, exact ties and the texts around them.
//
// TRIVYRHNIK_DIFF_COUNT sets how many values or texts each comparison row
// tries (default 2500); TRIVYRHNIK_DIFF_SEED picks another seed.

#include "number/float_chars.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace fallback = number::float_chars_fallback;

namespace {

enum class Form { Scientific, General };

using Writer = std::to_chars_result (*)(char*, char*, double, int);

Writer fallbackWriter(Form f) { return f == Form::Scientific ? fallback::toCharsScientific : fallback::toCharsGeneral; }
Writer programWriter(Form f) { return f == Form::Scientific ? number::toCharsScientific : number::toCharsGeneral; }

std::string write(Writer w, double v, int precision)
{
    std::array<char, 1200> buf{};
    const auto res = w(buf.data(), buf.data() + buf.size(), v, precision);
    return res.ec == std::errc() ? std::string(buf.data(), res.ptr) : "<error>";
}

bool sameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// ---- Known texts, on every library ----

struct TextCase {
    const char* name;
    double value;
    Form form;
    int precision;
    const char* text;
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
};

class KnownTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(KnownTextTest, Writes)
{
    const auto& c = GetParam();
    EXPECT_EQ(write(fallbackWriter(c.form), c.value, c.precision), c.text);
    EXPECT_EQ(write(programWriter(c.form), c.value, c.precision), c.text);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    FloatChars, KnownTextTest,
    testing::Values(TextCase{"tie_to_even_down", 0.125, Form::Scientific, 1, "1.2e-01"},
                    TextCase{"tie_to_even_up", 0.375, Form::Scientific, 1, "3.8e-01"},
                    TextCase{"just_above_a_tie", 2.5e-5, Form::Scientific, 0, "3e-05"},
                    TextCase{"tie_carries_to_next_power", 999999.5, Form::General, 6, "1e+06"},
                    TextCase{"tie_stays_even", 999998.5, Form::General, 6, "999998"},
                    TextCase{"negative_zero", -0.0, Form::Scientific, 2, "-0.00e+00"},
                    TextCase{"negative_zero_general", -0.0, Form::General, 6, "-0"},
                    TextCase{"three_digit_exponent", 1e300, Form::Scientific, 3, "1.000e+300"},
                    TextCase{"smallest_subnormal", 5e-324, Form::Scientific, 14, "4.94065645841247e-324"},
                    TextCase{"largest_double", DBL_MAX, Form::Scientific, 15, "1.797693134862316e+308"},
                    TextCase{"general_fixed_small", 0.0001, Form::General, 6, "0.0001"},
                    TextCase{"general_scientific_small", 0.00001, Form::General, 6, "1e-05"},
                    TextCase{"general_fixed_large", 123456.0, Form::General, 6, "123456"},
                    TextCase{"general_scientific_large", 1234567.0, Form::General, 6, "1.23457e+06"},
                    TextCase{"general_precision_zero", 2.5, Form::General, 0, "2"},
                    TextCase{"negative_precision_is_six", 1.5, Form::Scientific, -1, "1.500000e+00"},
                    TextCase{"exact_digits_of_a_tenth", 0.1, Form::Scientific, 30,
                             "1.000000000000000055511151231258e-01"},
                    TextCase{"infinity", kInf, Form::Scientific, 14, "inf"},
                    TextCase{"minus_infinity", -kInf, Form::General, 6, "-inf"},
                    TextCase{"nan", kNaN, Form::Scientific, 6, "nan"},
                    TextCase{"minus_nan", -kNaN, Form::General, 6, "-nan"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KnownTextTest, TooSmallBufferIsReported)
{
    std::array<char, 16> buf{};
    for (const Form f : {Form::Scientific, Form::General}) {
        const auto full = fallbackWriter(f)(buf.data(), buf.data() + buf.size(), -1.25, 2);
        ASSERT_EQ(full.ec, std::errc());
        const auto len = full.ptr - buf.data();
        // A buffer of exactly the text's size is large enough.
        const auto exact = fallbackWriter(f)(buf.data(), buf.data() + len, -1.25, 2);
        EXPECT_EQ(exact.ec, std::errc());
        EXPECT_EQ(exact.ptr, buf.data() + len);
        const auto shortRes = fallbackWriter(f)(buf.data(), buf.data() + len - 1, -1.25, 2);
        EXPECT_EQ(shortRes.ec, std::errc::value_too_large);
        EXPECT_EQ(shortRes.ptr, buf.data() + len - 1);
    }
}

struct ReadCase {
    const char* name;
    const char* text;
    std::errc ec;
    int used;
    double value;
    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }
};

class KnownReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(KnownReadTest, Reads)
{
    const auto& c = GetParam();
    const std::string text = c.text;
    for (const auto read : {fallback::fromChars, number::fromChars}) {
        double v = 42;
        const auto res = read(text.data(), text.data() + text.size(), v);
        EXPECT_EQ(res.ec, c.ec);
        EXPECT_EQ(res.ptr - text.data(), c.used);
        EXPECT_TRUE(sameDouble(v, c.ec == std::errc() ? c.value : 42)) << v;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FloatChars, KnownReadTest,
    testing::Values(ReadCase{"plain", "12.5", std::errc(), 4, 12.5},
                    ReadCase{"overflow_keeps_value", "1e400", std::errc::result_out_of_range, 5, 0},
                    ReadCase{"negative_overflow", "-1e400", std::errc::result_out_of_range, 6, 0},
                    ReadCase{"underflow_keeps_value", "1e-400", std::errc::result_out_of_range, 6, 0},
                    ReadCase{"above_half_the_smallest", "2.4703282292062328e-324", std::errc(), 23, 5e-324},
                    ReadCase{"below_half_the_smallest", "2.47032822920623272088e-324", std::errc::result_out_of_range,
                             27, 0},
                    ReadCase{"just_past_the_largest", "1.7976931348623159e308", std::errc::result_out_of_range, 22, 0},
                    ReadCase{"rounds_to_the_largest", "1.7976931348623158e308", std::errc(), 22, DBL_MAX},
                    ReadCase{"zero_with_huge_exponent", "0e999999", std::errc(), 8, 0},
                    ReadCase{"huge_exponent_digits", "1e99999999999999999999", std::errc::result_out_of_range, 22, 0},
                    ReadCase{"exponent_without_digits", "1e+", std::errc(), 1, 1},
                    ReadCase{"leading_point", ".5", std::errc(), 2, 0.5},
                    ReadCase{"no_plus_sign", "+1", std::errc::invalid_argument, 0, 0},
                    ReadCase{"no_blank", " 1", std::errc::invalid_argument, 0, 0},
                    ReadCase{"point_only", ".", std::errc::invalid_argument, 0, 0},
                    ReadCase{"comma_stops", "2,5", std::errc(), 1, 2},
                    ReadCase{"infinity_word", "-infinity", std::errc(), 9, -kInf},
                    ReadCase{"nan_with_payload", "nan(abc)", std::errc(), 8, kNaN}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The fallback against the standard library ----

#if TRIVYRHNIK_LIB_WRITES_DOUBLES || TRIVYRHNIK_LIB_READS_DOUBLES

long long envNumber(const char* name, long long fallbackValue)
{
    const char* v = std::getenv(name);
    return v && *v ? std::atoll(v) : fallbackValue;
}

long long diffCount() { return envNumber("TRIVYRHNIK_DIFF_COUNT", 2500); }
std::uint64_t diffSeed() { return static_cast<std::uint64_t>(envNumber("TRIVYRHNIK_DIFF_SEED", 20261209)); }

int uniform(std::mt19937_64& rng, int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

std::string bitsText(double v)
{
    std::array<char, 20> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::bit_cast<std::uint64_t>(v), 16);
    return "0x" + std::string(buf.data(), res.ptr);
}

#endif

#if TRIVYRHNIK_LIB_WRITES_DOUBLES

double withRandomSign(std::mt19937_64& rng, double v) { return (rng() & 1U) != 0 ? -v : v; }

// A double from text without a decimal point, which no locale changes.
double parsePlain(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

using Batch = std::vector<double>;

struct WriteRow {
    const char* name;
    std::function<Batch(std::mt19937_64&)> values;
    std::vector<std::pair<Form, int>> forms;
    friend void PrintTo(const WriteRow& r, std::ostream* os) { *os << r.name; }
};

std::optional<std::string> writeMismatch(double v, Form f, int precision)
{
    std::array<char, 64> expected{};
    std::array<char, 64> actual{};
    const auto fmt = f == Form::Scientific ? std::chars_format::scientific : std::chars_format::general;
    const auto e = std::to_chars(expected.data(), expected.data() + expected.size(), v, fmt, precision);
    const auto a = fallbackWriter(f)(actual.data(), actual.data() + actual.size(), v, precision);
    const std::string et(expected.data(), e.ptr);
    const std::string at(actual.data(), a.ptr);
    if (e.ec == a.ec && et == at)
        return std::nullopt;
    return bitsText(v) + (f == Form::Scientific ? " scientific " : " general ") + std::to_string(precision) + ": std \""
        + et + "\", fallback \"" + at + "\"";
}

class WriteDiffTest : public testing::TestWithParam<WriteRow> {};

TEST_P(WriteDiffTest, FallbackWritesAsStd)
{
    const auto& row = GetParam();
    std::mt19937_64 rng(diffSeed());
    long long tried = 0;
    while (tried < diffCount()) {
        for (const double v : row.values(rng)) {
            for (const auto& [form, precision] : row.forms)
                if (auto m = writeMismatch(v, form, precision))
                    FAIL() << *m;
            ++tried;
        }
    }
    RecordProperty("values", std::to_string(tried));
}

Batch randomBits(std::mt19937_64& rng) { return {std::bit_cast<double>(rng())}; }

Batch subnormals(std::mt19937_64& rng) { return {std::bit_cast<double>(rng() & 0x800fffffffffffffULL)}; }

Batch randomFloats(std::mt19937_64& rng)
{
    return {static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(rng())))};
}

// 10^k and its neighbours, and the values around 99...95 * 10^k, where
// rounding carries into the next power of ten.
Batch nearPowersOfTen(std::mt19937_64& rng)
{
    const int k = uniform(rng, -323, 308);
    Batch out;
    const auto around = [&](double v) {
        double down = v, up = v;
        out.push_back(v);
        for (int i = 0; i < 2; ++i) {
            down = std::nextafter(down, 0.0);
            up = std::nextafter(up, kInf);
            out.push_back(down);
            out.push_back(up);
        }
    };
    around(withRandomSign(rng, parsePlain("1e" + std::to_string(k))));
    const int nines = uniform(rng, 1, 17);
    around(withRandomSign(rng, parsePlain(std::string(static_cast<size_t>(nines), '9') + "5e" + std::to_string(k))));
    return out;
}

// A value whose exact decimal form has `digits` significant digits, the last
// a 5: the tie at `digits` - 1 digits. `limit` bounds the binary mantissa
// (2^53 for doubles, 2^24 for floats). Either an integer K * 10^q or an odd
// M / 2^s, which ends in the digit 5 at its s-th fraction place.
double tie(std::mt19937_64& rng, int digits, std::uint64_t limit)
{
    std::array<std::uint64_t, 20> pow10{1};
    for (size_t i = 1; i < pow10.size(); ++i)
        pow10[i] = pow10[i - 1] * 10;
    const std::uint64_t low = pow10[static_cast<size_t>(digits) - 1];
    const std::uint64_t high = pow10[static_cast<size_t>(digits)];
    for (;;) {
        if ((rng() & 1U) != 0 && low < limit) {
            const std::uint64_t top = std::min(high, limit);
            const std::uint64_t k = std::uniform_int_distribution<std::uint64_t>(low, top - 1)(rng) / 10 * 10 + 5;
            if (k < low || k >= top)
                continue;
            std::uint64_t m = k;
            int q = 0;
            while (m * 5 < limit && (rng() & 3U) != 0) {
                m *= 5;
                ++q;
            }
            return std::ldexp(static_cast<double>(m), q);
        }
        const int s = uniform(rng, 1, digits * 3 / 2);
        std::uint64_t five = 1;
        for (int i = 0; i < s && five < high; ++i)
            five *= 5;
        const std::uint64_t first = (low + five - 1) / five;
        const std::uint64_t last = std::min((high - 1) / five, limit - 1);
        if (five >= high || first > last)
            continue;
        const std::uint64_t m = std::uniform_int_distribution<std::uint64_t>(first, last)(rng) | 1U;
        if (m > last)
            continue;
        return std::ldexp(static_cast<double>(m), -s);
    }
}

Batch doubleTies(std::mt19937_64& rng, int digits)
{
    const double v = withRandomSign(rng, tie(rng, digits, std::uint64_t{1} << 53U));
    return {v, std::nextafter(v, 0.0), std::nextafter(v, v < 0 ? -kInf : kInf)};
}

Batch floatTies(std::mt19937_64& rng, int digits)
{
    const auto v = static_cast<float>(withRandomSign(rng, tie(rng, digits, std::uint64_t{1} << 24U)));
    return {v, std::nextafter(v, 0.0F), std::nextafter(v, v < 0 ? -HUGE_VALF : HUGE_VALF)};
}

const std::vector<std::pair<Form, int>> kProgramForms{{Form::Scientific, 6},  {Form::Scientific, 14},
                                                      {Form::Scientific, 15}, {Form::General, 6},
                                                      {Form::General, 14},    {Form::General, 15}};
const std::vector<std::pair<Form, int>> kFloatForms{{Form::Scientific, 5}, {Form::Scientific, 6}, {Form::General, 6}};

INSTANTIATE_TEST_SUITE_P(FloatChars, WriteDiffTest,
                         testing::Values(WriteRow{"random_bits", randomBits, kProgramForms},
                                         WriteRow{"subnormals", subnormals, kProgramForms},
                                         WriteRow{"random_floats", randomFloats, kFloatForms},
                                         WriteRow{"near_powers_of_ten", nearPowersOfTen, kProgramForms},
                                         WriteRow{"ties_at_precision_6",
                                                  [](auto& rng) { return doubleTies(rng, 8); },
                                                  {{Form::Scientific, 6}, {Form::General, 7}}},
                                         WriteRow{"ties_at_precision_14",
                                                  [](auto& rng) { return doubleTies(rng, 16); },
                                                  {{Form::Scientific, 14}, {Form::General, 15}}},
                                         WriteRow{"ties_at_precision_15",
                                                  [](auto& rng) { return doubleTies(rng, 17); },
                                                  {{Form::Scientific, 15}, {Form::General, 16}}},
                                         WriteRow{"float_ties_at_6_digits",
                                                  [](auto& rng) { return floatTies(rng, 7); },
                                                  {{Form::Scientific, 5}, {Form::General, 6}}},
                                         WriteRow{"float_ties_at_7_digits",
                                                  [](auto& rng) { return floatTies(rng, 8); },
                                                  {{Form::Scientific, 6}, {Form::General, 7}}}),
                         [](const auto& info) { return std::string(info.param.name); });

#endif // TRIVYRHNIK_LIB_WRITES_DOUBLES

#if TRIVYRHNIK_LIB_READS_DOUBLES

struct ReadRow {
    const char* name;
    std::function<std::vector<std::string>(std::mt19937_64&)> texts;
    bool needsWideLongDouble = false;
    friend void PrintTo(const ReadRow& r, std::ostream* os) { *os << r.name; }
};

std::optional<std::string> readMismatch(const std::string& text)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    double expected = 42;
    double actual = 42;
    const auto e = std::from_chars(first, last, expected);
    const auto a = fallback::fromChars(first, last, actual);
    if (e.ec == a.ec && e.ptr == a.ptr && sameDouble(expected, actual))
        return std::nullopt;
    return "\"" + text + "\": std ec " + std::to_string(static_cast<int>(e.ec)) + " used "
        + std::to_string(e.ptr - first) + " " + bitsText(expected) + ", fallback ec "
        + std::to_string(static_cast<int>(a.ec)) + " used " + std::to_string(a.ptr - first) + " " + bitsText(actual);
}

class ReadDiffTest : public testing::TestWithParam<ReadRow> {};

TEST_P(ReadDiffTest, FallbackReadsAsStd)
{
    if (GetParam().needsWideLongDouble && LDBL_MANT_DIG <= DBL_MANT_DIG)
        GTEST_SKIP() << "long double is no wider than double here";
    std::mt19937_64 rng(diffSeed());
    long long tried = 0;
    while (tried < diffCount()) {
        for (const auto& text : GetParam().texts(rng)) {
            if (auto m = readMismatch(text))
                FAIL() << *m;
            ++tried;
        }
    }
    RecordProperty("texts", std::to_string(tried));
}

std::string digitString(std::mt19937_64& rng, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s += static_cast<char>('0' + uniform(rng, 0, 9));
    return s;
}

// "[-]digits[.digits][e[sign]digits]" with the parts' lengths and the
// exponent's range given.
std::string numeral(std::mt19937_64& rng, int maxDigits, int minExponent, int maxExponent)
{
    std::string s = (rng() & 1U) != 0 ? "-" : "";
    const int total = uniform(rng, 1, maxDigits);
    const int point = uniform(rng, -1, total);
    const std::string digits = std::string(static_cast<size_t>(uniform(rng, 0, 3)), '0') + digitString(rng, total);
    if (point < 0)
        s += digits;
    else
        s += digits.substr(0, static_cast<size_t>(point)) + "." + digits.substr(static_cast<size_t>(point));
    if (uniform(rng, 0, 3) != 0) {
        const int exponent = uniform(rng, minExponent, maxExponent);
        s += (rng() & 1U) != 0 ? 'e' : 'E';
        if (exponent >= 0 && (rng() & 1U) != 0)
            s += '+';
        s += std::to_string(exponent);
    }
    return s;
}

std::vector<std::string> shortestTexts(std::mt19937_64& rng)
{
    std::array<char, 64> buf{};
    const double v = std::bit_cast<double>(rng());
    const auto shortest = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    std::vector<std::string> out{std::string(buf.data(), shortest.ptr)};
    const auto full = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::scientific, 17);
    out.emplace_back(buf.data(), full.ptr);
    return out;
}

// The exact decimal midpoint between a double and the next one (exact in an
// 80-bit long double), a digit short of it and a digit past it.
std::vector<std::string> halfwayTexts(std::mt19937_64& rng)
{
    const double v = std::bit_cast<double>(rng() & 0x7fefffffffffffffULL);
    // Above the largest double the step is the one below it.
    const double step = v == DBL_MAX ? v - std::nextafter(v, 0.0) : std::nextafter(v, kInf) - v;
    const long double half = static_cast<long double>(v) + static_cast<long double>(step) / 2;
    std::array<char, 1200> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), half, std::chars_format::scientific, 1100);
    const std::string exact(buf.data(), res.ptr);
    const size_t e = exact.find('e');
    std::string mantissa = exact.substr(0, e);
    while (mantissa.back() == '0')
        mantissa.pop_back();
    const std::string exponent = exact.substr(e);
    return {mantissa + exponent, mantissa.substr(0, mantissa.size() - 1) + exponent,
            mantissa + "000000000000000000001" + exponent};
}

std::vector<std::string> malformedTexts(std::mt19937_64& rng)
{
    static const std::string kAlphabet = "0123456789.eE+-infatyINFATY() x,";
    std::string s;
    const int length = uniform(rng, 0, 12);
    for (int i = 0; i < length; ++i)
        s += kAlphabet[static_cast<size_t>(uniform(rng, 0, static_cast<int>(kAlphabet.size()) - 1))];
    return {s};
}

std::vector<std::string> hugeExponents(std::mt19937_64& rng)
{
    const std::string mantissa = (rng() & 1U) != 0 ? "0.000" : numeral(rng, 20, 0, 0).substr(0, 5);
    const std::string sign = (rng() & 1U) != 0 ? "-" : "";
    return {mantissa + "e" + sign + digitString(rng, uniform(rng, 4, 25))};
}

INSTANTIATE_TEST_SUITE_P(
    FloatChars, ReadDiffTest,
    testing::Values(ReadRow{"shortest_texts", shortestTexts},
                    ReadRow{"random_digit_strings",
                            [](auto& rng) {
                                return std::vector{numeral(rng, 25, -30, 30)};
                            }},
                    ReadRow{"long_mantissas",
                            [](auto& rng) {
                                return std::vector{numeral(rng, 800, -400, 400)};
                            }},
                    ReadRow{"exponents_near_range_limits",
                            [](auto& rng) {
                                return std::vector{numeral(rng, 20, -345, -300), numeral(rng, 20, 290, 330)};
                            }},
                    ReadRow{"halfway_between_doubles", halfwayTexts, true}, ReadRow{"malformed_texts", malformedTexts},
                    ReadRow{"huge_exponents", hugeExponents}),
    [](const auto& info) { return std::string(info.param.name); });

#endif // TRIVYRHNIK_LIB_READS_DOUBLES

} // namespace
