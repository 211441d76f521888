#pragma once

#include <cstdint>

namespace trelvane::mci::x11 {

// True when `window` names a window on the X display of this process.
// The video outputs trust the parent handle they are given, and some of them
// crash the process on one that does not exist, so it is asked first.
bool windowExists(std::uint64_t window);

}  // namespace trelvane::mci::x11
