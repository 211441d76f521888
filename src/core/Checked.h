#pragma once

#include <concepts>

#include "core/Failure.h"

// Whole-number arithmetic of one width in which a result out of range is an
// overflow failure where it happens, never a silent wrap: the one algorithm
// behind the 32-bit numbers of the window and the 64-bit ones of files.
namespace trelvane::checked {

template <std::signed_integral T>
T add(T a, T b) {
    T result = 0;
    if (__builtin_add_overflow(a, b, &result)) {
        throw Failure::overflow();
    }
    return result;
}

template <std::signed_integral T>
T subtract(T a, T b) {
    T result = 0;
    if (__builtin_sub_overflow(a, b, &result)) {
        throw Failure::overflow();
    }
    return result;
}

template <std::signed_integral T>
T multiply(T a, T b) {
    T result = 0;
    if (__builtin_mul_overflow(a, b, &result)) {
        throw Failure::overflow();
    }
    return result;
}

}  // namespace trelvane::checked
