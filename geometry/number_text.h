#pragma once
// Number text: the one rule by which every number becomes report or list
// text, and Val, by which list text becomes a number again.
//
// Integer and Long print their decimal digits. Double prints at most 15
// significant digits and Single at most 7; trailing zeros of the fraction
// and a separator without a fraction are dropped, negative zero prints as 0.
//
// Scientific form ("1.5E+16", "2.5E-05") is used when the decimal exponent e
// of the rounded value (value = d.ddd * 10^e) is at least the number of
// significant digits (15 for Double, 7 for Single) or below -4; in between the
// value is written out in full (0.0001, 123456789012345, 1234567).
//
// The decimal separator is passed in; the formatter reads no global setting.

#include <cstdint>
#include <string>
#include <string_view>

namespace geometry {

struct NumberFormat {
    std::string decimalSeparator = ".";
};

// The decimal separator for numbers written with the user's regional
// setting. A setting that could not be told apart from the number around it
// (empty, longer than three characters, or holding a digit, a sign, an
// exponent letter E or D, a blank or a line break) gives the full stop: the
// lists are read back by Val, and a report must stay readable.
std::string usableDecimalSeparator(std::string_view setting);

std::string longText(std::int64_t value);
std::string doubleText(double value, const NumberFormat& fmt);
std::string singleText(float value, const NumberFormat& fmt);

// Reads the longest leading number: blanks skipped, an optional sign, digits,
// optionally a full stop and more digits, optionally an exponent ("E" or "D",
// optional sign, digits). Text without a leading number gives 0. The full
// stop is the only decimal separator. A magnitude beyond the Double range
// gives an infinity, which no integer store accepts.
double Val(std::string_view text);

} // namespace geometry
