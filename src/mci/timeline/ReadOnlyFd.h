#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace trelvane::mci::timeline {

// A file opened for reading, closed when it goes; `value` is -1 where it
// could not be opened.
struct ReadOnlyFd {
    explicit ReadOnlyFd(const std::string& path)
        : value(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~ReadOnlyFd() {
        if (value >= 0) {
            ::close(value);
        }
    }
    ReadOnlyFd(const ReadOnlyFd&) = delete;
    ReadOnlyFd& operator=(const ReadOnlyFd&) = delete;
    int value;
};

}  // namespace trelvane::mci::timeline
