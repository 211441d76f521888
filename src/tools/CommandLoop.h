#pragma once

#include <cstdint>
#include <iosfwd>

#include "movie/CommandChannel.h"
#include "tools/LineReader.h"

namespace trelvane::tools {

// Sends each input line as one command and writes one line per command to
// `out`: the status in decimal, a tab, and the answer text.
class CommandLoop {
public:
    CommandLoop(movie::CommandChannel& channel, std::uint32_t capacity)
        : m_channel(channel), m_capacity(capacity) {}

    void run(LineReader& in, std::ostream& out);

private:
    movie::CommandChannel& m_channel;
    std::uint32_t m_capacity;
};

}  // namespace trelvane::tools
