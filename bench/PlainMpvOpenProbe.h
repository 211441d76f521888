#pragma once

#include <string>

#include "OpenTimes.h"

namespace trelvane::bench {

// The reference for an open: the same library the program plays with, used
// directly with its own length and no time index of ours. The same steps are
// timed: a new player core, the file loaded and its first picture decoded,
// its length read, playback started and its position seen to move.
class PlainMpvOpenProbe {
public:
    static OpenTimes measure(const std::string& path);
};

}  // namespace trelvane::bench
