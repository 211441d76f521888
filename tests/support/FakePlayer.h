#pragma once

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mci/PlayerDevice.h"

namespace trelvane::mci::testing {

// What a test sets up for a fake player and what the player saw. It outlives
// the player, so a test can look at a closed device's history.
struct FakePlayerScript {
    Status openStatus = status::Ok;
    Status seekStatus = status::Ok;
    std::int64_t lengthMs = 60000;
    std::int64_t positionMs = 0;
    bool reachedEnd = false;
    // Thrown by the next seek or position query, as the real player's wait
    // for its index rethrows what ended the index's thread.
    std::exception_ptr thrown;

    std::vector<std::string> calls;
    std::optional<OpenRequest> opened;
    bool paused = true;
    bool destroyed = false;
};

class FakePlayer : public PlayerDevice {
public:
    explicit FakePlayer(std::shared_ptr<FakePlayerScript> script) : m_script(std::move(script)) {}
    ~FakePlayer() override { m_script->destroyed = true; }

    Status open(const OpenRequest& request) override {
        m_script->calls.push_back("open");
        m_script->opened = request;
        return m_script->openStatus;
    }
    std::int64_t lengthMs() override { return m_script->lengthMs; }
    std::int64_t positionMs() override {
        rethrow();
        return m_script->positionMs;
    }
    Status seek(std::int64_t ms) override {
        m_script->calls.push_back("seek " + std::to_string(ms));
        rethrow();
        if (m_script->seekStatus == status::Ok) {
            m_script->positionMs = ms;
        }
        return m_script->seekStatus;
    }
    Status setPaused(bool paused) override {
        m_script->calls.push_back(paused ? "pause" : "run");
        m_script->paused = paused;
        return status::Ok;
    }
    Status setEndMs(std::optional<std::int64_t> ms) override {
        m_script->calls.push_back("end " + (ms ? std::to_string(*ms) : std::string("none")));
        return status::Ok;
    }
    bool reachedEnd() override { return m_script->reachedEnd; }

private:
    void rethrow() {
        if (m_script->thrown) {
            std::rethrow_exception(std::exchange(m_script->thrown, nullptr));
        }
    }

    std::shared_ptr<FakePlayerScript> m_script;
};

}  // namespace trelvane::mci::testing
