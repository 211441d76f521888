#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "movie/CommandChannel.h"

namespace trelvane::movie {

struct SentCommand {
    std::string text;
    std::uint32_t capacity = 0;
    bool hadBuffer = false;
    std::uintptr_t callbackWindow = 0;
};

// Stands in for the media service: records every command and hands back
// prepared replies, one per command in order. Once the prepared replies run
// out, every command gets status 0 and leaves the answer buffer untouched.
class RecordingChannel : public CommandChannel {
public:
    // An answer of nullopt leaves the buffer as it was, like a failed query.
    void reply(std::uint32_t status, std::optional<std::string> answer = std::nullopt);
    // Replies to a number query: status 0 to the format command, then the answer.
    void replyNumberQuery(const std::string& answer);

    std::uint32_t sendCommand(const char* command, char* answer, std::uint32_t capacity,
                              std::uintptr_t callbackWindow) override;

    const std::vector<SentCommand>& sent() const { return m_sent; }
    std::vector<std::string> texts() const;
    void forget() { m_sent.clear(); }

private:
    struct Reply {
        std::uint32_t status;
        std::optional<std::string> answer;
    };

    std::deque<Reply> m_replies;
    std::vector<SentCommand> m_sent;
};

}  // namespace trelvane::movie
