#pragma once
// Force-included by the web build: the libc++ of Debian's emscripten 3.1.6
// (libc++ 13) has <bit> without std::bit_cast, which the number text's tests
// use (the number code itself reads the bits through memcpy). The
// compiler's builtin is the same operation.

#include <version>

#if !defined(__cpp_lib_bit_cast)
#include <bit>
#include <type_traits>

namespace std {
template <class To, class From>
requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> && is_trivially_copyable_v<From>) constexpr To
    bit_cast(const From& from) noexcept
{
    return __builtin_bit_cast(To, from);
}
} // namespace std
#endif
