#include "ServiceOpenProbe.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "mci/MediaService.h"
#include "mci/mpv/MpvPlayerFactory.h"

namespace trelvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class Session {
public:
    Session()
        : m_service(std::make_unique<mci::MpvPlayerFactory>(mci::PlayerOutputs{"null", "null"})) {}
    ~Session() { send("close all"); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool send(const std::string& command) {
        m_answer[0] = '\0';
        return m_service.sendCommand(command.c_str(), m_answer, sizeof m_answer, 0) == 0;
    }
    long number() const { return std::atol(m_answer); }

private:
    mci::MediaService m_service;
    char m_answer[128] = {};
};

}  // namespace

OpenTimes ServiceOpenProbe::measure(const std::string& path) {
    // The steps in the order the window's open button takes them: the movie
    // plays before its length is asked for.
    OpenTimes times;
    Session session;
    const auto start = Clock::now();
    if (!session.send("open \"" + path + "\" type mpegvideo alias movie")) {
        return times;
    }
    times.openMs = msSince(start);
    if (!session.send("set movie time format ms") || !session.send("status movie position")) {
        return times;
    }
    const long from = session.number();
    if (!session.send("play movie")) {
        return times;
    }
    const auto deadline = start + std::chrono::minutes(10);
    while (Clock::now() < deadline) {
        if (session.send("status movie position") && session.number() > from) {
            times.playingMs = msSince(start);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (times.playingMs < 0 || !session.send("status movie length")) {
        return times;
    }
    times.movieLengthMs = session.number();
    times.lengthMs = msSince(start);
    return times;
}

}  // namespace trelvane::bench
