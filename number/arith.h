#pragma once
// Arithmetic with the program's numeric kinds.
//
// Integer is 16 bits, Long 32 bits, both signed; Single and Double are the
// IEEE 754 kinds. Typed integer arithmetic and every store of a floating
// value into an integer are checked: a result out of range throws Overflow,
// which the calculation run catches and reports.

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

// An overflow ends the run through an exception that the run catches; a
// build that ignores exceptions (emscripten's default) would abort instead.
#if !defined(__cpp_exceptions) && !defined(__EXCEPTIONS)
#error "the calculation reports overflows by exceptions: build with C++ exceptions on (-fexceptions)"
#endif

namespace number {

// A run-time failure of the calculation (overflow, invalid square root).
class CalcFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // The failure named in Bulgarian for the report.
    virtual std::string reason() const = 0;
};

class Overflow : public CalcFailure {
public:
    Overflow() : CalcFailure("Overflow") {}
    std::string reason() const override { return "препълване"; }
};

class InvalidArgument : public CalcFailure {
public:
    InvalidArgument() : CalcFailure("Invalid procedure call or argument") {}
    std::string reason() const override { return "недопустим аргумент"; }
};

using Integer = std::int16_t;
using Long = std::int32_t;

// Long arithmetic with the overflow check.
inline Long lAdd(Long a, Long b)
{
    Long r;
    if (__builtin_add_overflow(a, b, &r))
        throw Overflow();
    return r;
}

inline Long lSub(Long a, Long b)
{
    Long r;
    if (__builtin_sub_overflow(a, b, &r))
        throw Overflow();
    return r;
}

inline Long lMul(Long a, Long b)
{
    Long r;
    if (__builtin_mul_overflow(a, b, &r))
        throw Overflow();
    return r;
}

inline Long lAbs(Long a)
{
    if (a == std::numeric_limits<Long>::min())
        throw Overflow();
    return a < 0 ? -a : a;
}

// Rounds to the nearest whole number, a half going to the even neighbour.
// Returns false when the value is not finite or does not fit T.
template <typename T>
bool tryStore(double v, T& out)
{
    if (!std::isfinite(v))
        return false;
    const double r = std::nearbyint(v); // default rounding: to nearest, ties to even
    // min() is -2^(n-1), exact as a Double; 2^(n-1) is the first value above max().
    const auto lowest = static_cast<double>(std::numeric_limits<T>::min());
    if (r < lowest || r >= -lowest)
        return false;
    out = static_cast<T>(r);
    return true;
}

// The same, throwing Overflow when the value does not fit.
template <typename T>
T store(double v)
{
    T out{};
    if (!tryStore(v, out))
        throw Overflow();
    return out;
}

inline Integer toInteger(double v) { return store<Integer>(v); }
inline Long toLong(double v) { return store<Long>(v); }

// Square root that fails on a negative argument instead of giving NaN.
inline double checkedSqrt(double v)
{
    if (v < 0 || std::isnan(v))
        throw InvalidArgument();
    return std::sqrt(v);
}

} // namespace number
