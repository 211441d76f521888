#pragma once

#include <string>

#include "OpenTimes.h"

namespace trelvane::bench {

// Times one open of a movie through the program's media service, as the
// window's Open does it: open, ask for the length, play, and wait until the
// position moves. The player draws and sounds nowhere.
class ServiceOpenProbe {
public:
    static OpenTimes measure(const std::string& path);
};

}  // namespace trelvane::bench
