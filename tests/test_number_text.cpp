#include "geometry/number_text.h"
#include "number/arith.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace geometry;
using namespace number;

namespace {

const NumberFormat kPoint{"."};
const NumberFormat kComma{","};

struct DoubleCase {
    const char* name;
    double value;
    const char* point;
    const char* comma;
    friend void PrintTo(const DoubleCase& c, std::ostream* os) { *os << c.name; }
};

class DoubleTextTest : public testing::TestWithParam<DoubleCase> {};

TEST_P(DoubleTextTest, Formats)
{
    const auto& c = GetParam();
    EXPECT_EQ(doubleText(c.value, kPoint), c.point);
    EXPECT_EQ(doubleText(c.value, kComma), c.comma);
}

INSTANTIATE_TEST_SUITE_P(
    Double, DoubleTextTest,
    testing::Values(DoubleCase{"twelve_and_a_half", 12.5, "12.5", "12,5"},
                    DoubleCase{"one_third", 1.0 / 3, "0.333333333333333", "0,333333333333333"},
                    DoubleCase{"two", 2.0, "2", "2"}, DoubleCase{"quarter", 0.25, "0.25", "0,25"},
                    DoubleCase{"half_of_long", 24691.0 / 2, "12345.5", "12345,5"},
                    DoubleCase{"whole_half", 24690.0 / 2, "12345", "12345"},
                    DoubleCase{"negative_zero", -0.0, "0", "0"}, DoubleCase{"negative", -2.5, "-2.5", "-2,5"},
                    DoubleCase{"sqrt_two", std::sqrt(2.0), "1.4142135623731", "1,4142135623731"},
                    DoubleCase{"sqrt_1300", std::sqrt(1300.0), "36.0555127546399", "36,0555127546399"},
                    DoubleCase{"large_scientific", 1.5e16, "1.5E+16", "1,5E+16"},
                    DoubleCase{"fifteen_digits_fixed", 123456789012345.0, "123456789012345", "123456789012345"},
                    DoubleCase{"rounds_to_scientific", 999999999999999.9, "1E+15", "1E+15"},
                    DoubleCase{"small_fixed", 0.0001, "0.0001", "0,0001"},
                    DoubleCase{"small_scientific", -0.000025, "-2.5E-05", "-2,5E-05"},
                    DoubleCase{"huge_exponent", 1e300, "1E+300", "1E+300"},
                    DoubleCase{"tiny_exponent", -1e-300, "-1E-300", "-1E-300"},
                    DoubleCase{"subnormal", 5e-324, "4.94065645841247E-324", "4,94065645841247E-324"},
                    DoubleCase{"rounding_carry", 0.9999999999999999, "1", "1"},
                    DoubleCase{"centre_y", 256.25, "256.25", "256,25"},
                    DoubleCase{"plus_infinity", std::numeric_limits<double>::infinity(), "Inf", "Inf"},
                    DoubleCase{"minus_infinity", -std::numeric_limits<double>::infinity(), "-Inf", "-Inf"},
                    DoubleCase{"not_a_number", std::numeric_limits<double>::quiet_NaN(), "NaN", "NaN"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SingleCase {
    const char* name;
    float value;
    const char* point;
    friend void PrintTo(const SingleCase& c, std::ostream* os) { *os << c.name; }
};

class SingleTextTest : public testing::TestWithParam<SingleCase> {};

TEST_P(SingleTextTest, Formats) { EXPECT_EQ(singleText(GetParam().value, kPoint), GetParam().point); }

INSTANTIATE_TEST_SUITE_P(Single, SingleTextTest,
                         testing::Values(SingleCase{"two_thirds", 2.0f / 3.0f, "0.6666667"},
                                         SingleCase{"whole", 123.0f, "123"}, SingleCase{"pixel", 229.0f, "229"},
                                         SingleCase{"negative_pixel", -17.0f, "-17"},
                                         SingleCase{"seven_digits", 1234567.0f, "1234567"},
                                         SingleCase{"eight_digits", 123456789.0f, "1.234568E+08"},
                                         SingleCase{"small_scientific", 1e-5f, "1E-05"},
                                         SingleCase{"negative_zero", -0.0f, "0"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The separator of the user's regional setting, kept only where the numbers
// around it stay readable (and Val reads the lists back).
struct SeparatorCase {
    const char* name;
    const char* setting;
    const char* separator;
    friend void PrintTo(const SeparatorCase& c, std::ostream* os) { *os << c.name; }
};

class UsableSeparatorTest : public testing::TestWithParam<SeparatorCase> {};

TEST_P(UsableSeparatorTest, FromTheSetting)
{
    EXPECT_EQ(usableDecimalSeparator(GetParam().setting), GetParam().separator);
}

INSTANTIATE_TEST_SUITE_P(Settings, UsableSeparatorTest,
                         testing::Values(SeparatorCase{"comma", ",", ","}, SeparatorCase{"full_stop", ".", "."},
                                         SeparatorCase{"arabic_decimal_separator", "\u066B", "\u066B"},
                                         SeparatorCase{"three_cyrillic_letters", "абв", "абв"},
                                         SeparatorCase{"empty", "", "."}, SeparatorCase{"four_characters", "....", "."},
                                         SeparatorCase{"digit", "0", "."}, SeparatorCase{"minus", "-", "."},
                                         SeparatorCase{"exponent_letter", "E", "."},
                                         SeparatorCase{"exponent_letter_d", "d", "."}, SeparatorCase{"blank", " ", "."},
                                         SeparatorCase{"line_break", ",\n", "."}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LongText, Digits)
{
    EXPECT_EQ(longText(-42), "-42");
    EXPECT_EQ(longText(0), "0");
    EXPECT_EQ(longText(2147483647), "2147483647");
}

struct ValCase {
    const char* name;
    const char* text;
    double value;
    friend void PrintTo(const ValCase& c, std::ostream* os) { *os << c.name; }
};

class ValTest : public testing::TestWithParam<ValCase> {};

TEST_P(ValTest, Reads) { EXPECT_EQ(Val(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Val, ValTest,
    testing::Values(ValCase{"whole", "245", 245}, ValCase{"comma_stops", "12,5", 12},
                    ValCase{"blanks_sign_exponent_tail", " -3.5E2x", -350}, ValCase{"empty", "", 0},
                    ValCase{"letters", "abc", 0}, ValCase{"d_exponent", "1.5D3", 1500},
                    ValCase{"exponent_without_digits", "7E", 7}, ValCase{"signed_exponent_without_digits", "7E+", 7},
                    ValCase{"exponent_then_letter", "7Ex", 7}, ValCase{"lower_case_d_exponent", "2d3", 2000},
                    ValCase{"leading_point", ".5", 0.5}, ValCase{"trailing_point", "3.", 3},
                    ValCase{"plus_sign", "+8", 8}, ValCase{"tab_then_number", "\t42", 42}, ValCase{"sign_only", "-", 0},
                    ValCase{"tiny_underflows", "1e-400", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValTest, MagnitudeDecidesBetweenInfinityAndZero)
{
    // Beyond the Double range either way, whatever the exponent's sign says.
    EXPECT_TRUE(std::isinf(Val("1" + std::string(400, '0') + "e-5")));
    EXPECT_EQ(Val("0." + std::string(400, '0') + "1e+5"), 0.0);
    EXPECT_EQ(Val("-" + std::string(400, '9')), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("1e-99999999999999999999"), 0.0);
    EXPECT_TRUE(std::isinf(Val("1e99999999999999999999")));
}

TEST(ValTest, HugeGivesInfinityThatNoLongAccepts)
{
    const double v = Val("1e999");
    EXPECT_TRUE(std::isinf(v));
    EXPECT_THROW(toLong(v), Overflow);
}

struct StoreCase {
    const char* name;
    double value;
    long long expected;
    friend void PrintTo(const StoreCase& c, std::ostream* os) { *os << c.name; }
};

class StoreLongTest : public testing::TestWithParam<StoreCase> {};

TEST_P(StoreLongTest, RoundsHalfToEven) { EXPECT_EQ(toLong(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Store, StoreLongTest,
                         testing::Values(StoreCase{"two_and_a_half", 2.5, 2}, StoreCase{"three_and_a_half", 3.5, 4},
                                         StoreCase{"minus_two_and_a_half", -2.5, -2},
                                         StoreCase{"just_above_half", 2.5000001, 3},
                                         StoreCase{"long_max", 2147483647.0, 2147483647},
                                         StoreCase{"long_min", -2147483648.0, -2147483648LL},
                                         StoreCase{"rounds_down_into_range", 2147483647.4, 2147483647}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StoreTest, OutOfRangeIsOverflow)
{
    EXPECT_THROW(toLong(2147483647.5), Overflow); // rounds to 2^31
    EXPECT_THROW(toLong(-2147483649.0), Overflow);
    EXPECT_THROW(toInteger(32767.5), Overflow);
    EXPECT_EQ(toInteger(-32768.0), -32768);
    EXPECT_THROW(toLong(std::numeric_limits<double>::quiet_NaN()), Overflow);
    EXPECT_THROW(store<std::int64_t>(9.3e18), Overflow);
}

TEST(LongArithmetic, OverflowIsChecked)
{
    EXPECT_THROW(lMul(65536, 32768), Overflow);
    EXPECT_EQ(lMul(46340, 46340), 2147395600);
    EXPECT_THROW(lAdd(2147483647, 1), Overflow);
    EXPECT_THROW(lSub(-2147483647 - 1, 1), Overflow);
    EXPECT_THROW(lAbs(-2147483647 - 1), Overflow);
}

} // namespace
