#include "RecordingChannel.h"

#include <algorithm>
#include <cstring>

namespace trelvane::movie {

void RecordingChannel::reply(std::uint32_t status, std::optional<std::string> answer) {
    m_replies.push_back({status, std::move(answer)});
}

void RecordingChannel::replyNumberQuery(const std::string& answer) {
    reply(0);
    reply(0, answer);
}

std::uint32_t RecordingChannel::sendCommand(const char* command, char* answer,
                                            std::uint32_t capacity, std::uintptr_t callbackWindow) {
    m_sent.push_back({command, capacity, answer != nullptr, callbackWindow});
    if (m_replies.empty()) {
        return 0;
    }
    const Reply next = m_replies.front();
    m_replies.pop_front();
    if (next.answer && answer != nullptr && capacity > 0) {
        const std::size_t length = std::min<std::size_t>(next.answer->size(), capacity - 1);
        std::memcpy(answer, next.answer->data(), length);
        answer[length] = '\0';
    }
    return next.status;
}

std::vector<std::string> RecordingChannel::texts() const {
    std::vector<std::string> result;
    for (const SentCommand& command : m_sent) {
        result.push_back(command.text);
    }
    return result;
}

}  // namespace trelvane::movie
