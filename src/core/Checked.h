#pragma once

#include <concepts>

#include "core/Failure.h"

// Whole-number arithmetic of one width in which a result out of range is an
// overflow failure where it happens, never a silent wrap: the one algorithm
// behind the 32-bit numbers of the window and the 64-bit ones of files.
namespace trelvane::checked {

// `operation` is one of the compiler's overflow builtins, wrapped: it
// stores the result and says whether it wrapped.
template <std::signed_integral T, typename Operation>
T orOverflow(Operation operation, T a, T b) {
    T result = 0;
    if (operation(a, b, &result)) {
        throw Failure::overflow();
    }
    return result;
}

template <std::signed_integral T>
T add(T a, T b) {
    return orOverflow([](T x, T y, T* r) { return __builtin_add_overflow(x, y, r); }, a, b);
}

template <std::signed_integral T>
T subtract(T a, T b) {
    return orOverflow([](T x, T y, T* r) { return __builtin_sub_overflow(x, y, r); }, a, b);
}

template <std::signed_integral T>
T multiply(T a, T b) {
    return orOverflow([](T x, T y, T* r) { return __builtin_mul_overflow(x, y, r); }, a, b);
}

}  // namespace trelvane::checked
