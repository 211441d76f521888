#pragma once

#include <cstdint>
#include <string>

#include "core/Checked.h"

// 32-bit signed arithmetic in which a result out of range is a failure where
// it happens, never a silent wrap.
namespace trelvane::int32 {

inline constexpr auto add = checked::add<std::int32_t>;
inline constexpr auto subtract = checked::subtract<std::int32_t>;
inline constexpr auto multiply = checked::multiply<std::int32_t>;

// Rounds to the nearest whole number, halves to the even neighbour, and fails
// with an overflow when the result does not fit (NaN never fits).
std::int32_t fromDouble(double value);

// The decimal text of a number: digits, a leading '-' when negative, nothing else.
std::string decimalText(std::int32_t value);

}  // namespace trelvane::int32
