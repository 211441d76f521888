#pragma once

#include <cstdint>
#include <string>

// 32-bit signed arithmetic in which a result out of range is a failure where
// it happens, never a silent wrap.
namespace trelvane::int32 {

std::int32_t add(std::int32_t a, std::int32_t b);
std::int32_t subtract(std::int32_t a, std::int32_t b);
std::int32_t multiply(std::int32_t a, std::int32_t b);

// Rounds to the nearest whole number, halves to the even neighbour, and fails
// with an overflow when the result does not fit (NaN never fits).
std::int32_t fromDouble(double value);

// The decimal text of a number: digits, a leading '-' when negative, nothing else.
std::string decimalText(std::int32_t value);

}  // namespace trelvane::int32
