#include "PlayerSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>

#include "mci/mpv/MpvPlayerFactory.h"

namespace trelvane::testing {

PlayerSession::PlayerSession(mci::PlayerOutputs outputs)
    : m_service(std::make_unique<mci::MpvPlayerFactory>(std::move(outputs))) {}

Reply PlayerSession::send(const std::string& command) {
    char buffer[128] = {};
    Reply reply;
    reply.status = m_service.sendCommand(command.c_str(), buffer, sizeof buffer, 0);
    reply.answer = buffer;
    return reply;
}

std::int64_t PlayerSession::number(const std::string& query) {
    const Reply reply = send(query);
    EXPECT_EQ(reply.status, 0u) << query;
    if (reply.status != 0 || reply.answer.empty()) {
        return -1;
    }
    return std::stoll(reply.answer);
}

std::string PlayerSession::mode(const std::string& alias) {
    return send("status " + alias + " mode").answer;
}

std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) {
            output += buffer;
        }
        ::pclose(pipe);
    }
    return output;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::string mediaPath(const std::string& name) {
    return std::string(TRELVANE_TEST_MEDIA_DIR) + "/" + name;
}

std::int64_t probedLengthMs(const std::string& name) {
    std::ifstream in(mediaPath(name) + ".duration");
    double seconds = -1;
    in >> seconds;
    EXPECT_GT(seconds, 0) << "no probed duration for " << name;
    return std::llround(seconds * 1000);
}

}  // namespace trelvane::testing
