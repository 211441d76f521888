#include "TappedChannel.h"

namespace trelvane::ui::testing {

std::uint32_t TappedChannel::sendCommand(const char* command, char* answer, std::uint32_t capacity,
                                         std::uintptr_t callbackWindow) {
    m_sent.push_back({command, m_clock()});
    if (m_observer) {
        m_observer(command);
    }
    return m_inner.sendCommand(command, answer, capacity, callbackWindow);
}

std::vector<std::string> TappedChannel::texts() const {
    std::vector<std::string> result;
    for (const TappedCommand& command : m_sent) {
        result.push_back(command.text);
    }
    return result;
}

}  // namespace trelvane::ui::testing
