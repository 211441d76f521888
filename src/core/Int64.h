#pragma once

#include <cstdint>

// 64-bit signed arithmetic for byte counts and positions in files, where a
// result out of range is an overflow failure where it happens, as for the
// 32-bit numbers of the rest of the program.
namespace trelvane::int64 {

std::int64_t add(std::int64_t a, std::int64_t b);
std::int64_t subtract(std::int64_t a, std::int64_t b);
std::int64_t multiply(std::int64_t a, std::int64_t b);

}  // namespace trelvane::int64
