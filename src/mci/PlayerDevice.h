#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "mci/Status.h"

namespace trelvane::mci {

struct OpenRequest {
    std::string path;                           // absolute path of an existing regular file
    std::optional<std::uint64_t> parentWindow;  // native window to draw into, if any
};

// A player for one opened file. It knows nothing of command texts or modes:
// the interpreter keeps the mode and validates every argument before calling.
// Times are whole milliseconds from the start of the movie.
class PlayerDevice {
public:
    virtual ~PlayerDevice() = default;

    // Blocks until the file is loaded (its length known) or has failed, within
    // a bounded time. Returns status::Ok, or the status that describes why not.
    virtual Status open(const OpenRequest& request) = 0;

    virtual std::int64_t lengthMs() = 0;
    virtual std::int64_t positionMs() = 0;

    // Moves to `ms` (0..length) and returns once the new position holds.
    virtual Status seek(std::int64_t ms) = 0;
    virtual Status setPaused(bool paused) = 0;
    // Where playback ends by itself; nullopt means the end of the movie.
    virtual Status setEndMs(std::optional<std::int64_t> ms) = 0;
    // True once playback has reached the end of the movie or the end set above.
    virtual bool reachedEnd() = 0;
};

}  // namespace trelvane::mci
