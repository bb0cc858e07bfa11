#pragma once
// Double text on every standard library: the three conversions the program
// needs, with the results of std::to_chars and std::from_chars. Where the
// library has the floating-point overloads they are used; where it lacks them
// (libc++ before 14 writes none and reads none, as in emscripten's) an exact
// fallback takes their place. Neither reads the process's locale: the decimal
// point is always a full stop.
//
// Defining TRIVYRHNIK_FLOAT_CHARS_FALLBACK sends every conversion to the
// fallback, whatever the library has.

#include <charconv>
#include <system_error>
#include <version>

// Whether the standard library writes and reads doubles.
#if defined(__cpp_lib_to_chars)
// libstdc++ 11 and later, Microsoft's library: both directions.
#define TRIVYRHNIK_LIB_WRITES_DOUBLES 1
#define TRIVYRHNIK_LIB_READS_DOUBLES 1
#elif defined(_LIBCPP_VERSION) && _LIBCPP_VERSION >= 14000
// libc++ 14 and later write doubles but do not announce reading them.
#define TRIVYRHNIK_LIB_WRITES_DOUBLES 1
#define TRIVYRHNIK_LIB_READS_DOUBLES 0
#else
#define TRIVYRHNIK_LIB_WRITES_DOUBLES 0
#define TRIVYRHNIK_LIB_READS_DOUBLES 0
#endif

namespace number {

// "[-]d.ddde±XX" with `precision` digits after the point, correctly rounded
// (a tie to the even digit): std::to_chars with chars_format::scientific.
std::to_chars_result toCharsScientific(char* first, char* last, double value, int precision);

// printf's "%.{precision}g" in the C locale: std::to_chars with
// chars_format::general and a precision.
std::to_chars_result toCharsGeneral(char* first, char* last, double value, int precision);

// std::from_chars with chars_format::general: the nearest double to the
// longest leading number. A number beyond the range (an infinity, or zero from
// nonzero digits) gives std::errc::result_out_of_range and leaves value as it
// was.
std::from_chars_result fromChars(const char* first, const char* last, double& value);

// The fallback itself, callable on every library so that it can be compared
// with the standard one where that exists.
namespace float_chars_fallback {

std::to_chars_result toCharsScientific(char* first, char* last, double value, int precision);
std::to_chars_result toCharsGeneral(char* first, char* last, double value, int precision);
std::from_chars_result fromChars(const char* first, const char* last, double& value);

} // namespace float_chars_fallback

} // namespace number
