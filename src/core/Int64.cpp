#include "core/Int64.h"

#include "core/Checked.h"

namespace trelvane::int64 {

std::int64_t add(std::int64_t a, std::int64_t b) {
    return checked::add(a, b);
}

std::int64_t subtract(std::int64_t a, std::int64_t b) {
    return checked::subtract(a, b);
}

std::int64_t multiply(std::int64_t a, std::int64_t b) {
    return checked::multiply(a, b);
}

}  // namespace trelvane::int64
