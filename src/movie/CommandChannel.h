#pragma once

#include <cstdint>

namespace trelvane::movie {

// The one way media commands leave the program: a command text in, a 32-bit
// status and (for queries) a NUL-terminated answer back. Implementations must
// never write more than `capacity` bytes into `answer`, terminator included.
class CommandChannel {
public:
    virtual ~CommandChannel() = default;

    // `answer` may be null when `capacity` is 0. `callbackWindow` is the
    // window to notify on completion; 0 asks for no notice.
    virtual std::uint32_t sendCommand(const char* command, char* answer, std::uint32_t capacity,
                                      std::uintptr_t callbackWindow) = 0;
};

}  // namespace trelvane::movie
