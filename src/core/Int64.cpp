#include "core/Int64.h"

#include "core/Failure.h"

namespace trelvane::int64 {

std::int64_t add(std::int64_t a, std::int64_t b) {
    std::int64_t result = 0;
    if (__builtin_add_overflow(a, b, &result)) {
        throw Failure::overflow();
    }
    return result;
}

std::int64_t subtract(std::int64_t a, std::int64_t b) {
    std::int64_t result = 0;
    if (__builtin_sub_overflow(a, b, &result)) {
        throw Failure::overflow();
    }
    return result;
}

std::int64_t multiply(std::int64_t a, std::int64_t b) {
    std::int64_t result = 0;
    if (__builtin_mul_overflow(a, b, &result)) {
        throw Failure::overflow();
    }
    return result;
}

}  // namespace trelvane::int64
