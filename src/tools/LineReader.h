#pragma once

#include <optional>
#include <string>

namespace trelvane::tools {

// Reads lines from a file descriptor with plain POSIX calls. A descriptor
// shared with others may be in non-blocking mode; a read that would block
// then waits for data instead of being taken for the end of the input.
class LineReader {
public:
    explicit LineReader(int fd) : m_fd(fd) {}

    // The next line without its line end, or nothing at the end of input.
    std::optional<std::string> next();

private:
    bool fill();

    int m_fd;
    std::string m_pending;
    bool m_ended = false;
};

}  // namespace trelvane::tools
