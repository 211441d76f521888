#pragma once

#include <cstdint>

#include "core/Checked.h"

// 64-bit signed arithmetic for byte counts and positions in files, where a
// result out of range is an overflow failure where it happens, as for the
// 32-bit numbers of the rest of the program.
namespace trelvane::int64 {

inline constexpr auto add = checked::add<std::int64_t>;
inline constexpr auto subtract = checked::subtract<std::int64_t>;
inline constexpr auto multiply = checked::multiply<std::int64_t>;

}  // namespace trelvane::int64
