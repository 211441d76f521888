#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "mci/MediaService.h"
#include "mci/mpv/PlayerOutputs.h"

namespace trelvane::testing {

struct Reply {
    std::uint32_t status = 0;
    std::string answer;
};

// The real media service on real players, addressed as the program does:
// command texts in, status and answer text out.
class PlayerSession {
public:
    explicit PlayerSession(mci::PlayerOutputs outputs = {"null", "null"});

    Reply send(const std::string& command);
    // The number a query answers; -1 (and a test failure) when it fails.
    std::int64_t number(const std::string& query);
    std::string mode(const std::string& alias = "movie");

    mci::MediaService& service() { return m_service; }

private:
    mci::MediaService m_service;
};

// What a shell command prints on its standard output.
std::string commandOutput(const std::string& command);

// Polls `condition` until it holds or `timeout` passes; true when it held.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// Path of a file made by the media fixture, and ffprobe's length of it in ms.
std::string mediaPath(const std::string& name);
std::int64_t probedLengthMs(const std::string& name);

}  // namespace trelvane::testing
