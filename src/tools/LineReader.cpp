#include "tools/LineReader.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace trelvane::tools {

std::optional<std::string> LineReader::next() {
    for (;;) {
        const auto end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return line;
        }
        if (m_ended || !fill()) {
            if (m_pending.empty()) {
                return std::nullopt;
            }
            return std::exchange(m_pending, std::string());
        }
    }
}

bool LineReader::fill() {
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
        if (got > 0) {
            m_pending.append(chunk, static_cast<std::size_t>(got));
            return true;
        }
        if (got == 0) {
            m_ended = true;
            return false;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            m_ended = true;
            return false;
        }
        pollfd readable{m_fd, POLLIN, 0};
        ::poll(&readable, 1, -1);
    }
}

}  // namespace trelvane::tools
