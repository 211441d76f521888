#pragma once

#include <functional>
#include <string>
#include <vector>

#include "movie/CommandChannel.h"

namespace trelvane::ui::testing {

struct TappedCommand {
    std::string text;
    double at;  // the clock's reading when it was sent
};

// Passes every command on to the real channel behind it, and keeps a copy of
// its text and the time it was sent.
class TappedChannel : public movie::CommandChannel {
public:
    TappedChannel(movie::CommandChannel& inner, std::function<double()> clock)
        : m_inner(inner), m_clock(std::move(clock)) {}

    std::uint32_t sendCommand(const char* command, char* answer, std::uint32_t capacity,
                              std::uintptr_t callbackWindow) override;

    // Called with each text as it goes out.
    void onSend(std::function<void(const std::string&)> observer) {
        m_observer = std::move(observer);
    }

    const std::vector<TappedCommand>& sent() const { return m_sent; }
    std::vector<std::string> texts() const;
    void forget() { m_sent.clear(); }

private:
    movie::CommandChannel& m_inner;
    std::function<double()> m_clock;
    std::function<void(const std::string&)> m_observer;
    std::vector<TappedCommand> m_sent;
};

}  // namespace trelvane::ui::testing
