#include "movie/MovieModule.h"

#include <string_view>

#include "core/Int32.h"
#include "movie/AnswerNumber.h"

namespace trelvane::movie {
namespace {

constexpr std::uintptr_t kNoCallback = 0;
constexpr std::int32_t kMsPerSecond = 1000;

}  // namespace

MovieModule::MovieModule(CommandChannel& channel, TimeOfDayClock& clock, EventPass& eventPass)
    : m_channel(channel), m_clock(clock), m_eventPass(eventPass) {}

void MovieModule::openMovieWindow(std::int32_t hWnd, const std::string& WindowStyle) {
    open(" type mpegvideo alias movie parent " + int32::decimalText(hWnd) + " style " +
         WindowStyle + " ");
}

void MovieModule::openMovie() {
    open(" type mpegvideo alias movie");
}

void MovieModule::playMovie() {
    m_error = send("play movie");
}

void MovieModule::stopMovie() {
    m_error = send("stop movie");
}

std::int32_t MovieModule::getLengthInMS() {
    return askMilliseconds("status movie length");
}

std::int32_t MovieModule::getLengthInSec() {
    return getLengthInMS() / kMsPerSecond;
}

void MovieModule::pauseMovie() {
    m_error = send("pause movie");
}

void MovieModule::resumeMovie() {
    m_error = send("resume movie");
}

std::int32_t MovieModule::getPositionInMS() {
    return askMilliseconds("status movie position wait");
}

void MovieModule::closeMovie() {
    m_error = send("close all");
}

std::int32_t MovieModule::getPositionInSec() {
    return getPositionInMS() / kMsPerSecond;
}

bool MovieModule::isMoviePlaying() {
    m_error = ask("status movie mode");
    // A shorter answer has its terminator within these seven characters, so
    // "play" or "paused" can never match.
    return std::string_view(answerBuffer.data(), 7) == "playing";
}

void MovieModule::setPositionTo(std::int32_t Second) {
    const std::string ms = int32::decimalText(int32::multiply(Second, kMsPerSecond));
    if (isMoviePlaying()) {
        send("play movie from " + ms);
    } else if (!isMoviePlaying()) {
        send("seek movie to " + ms);
    }
}

void MovieModule::timeOut(double duration) {
    double previous = readClock();
    const std::int32_t start = int32::fromDouble(previous);
    // The time of day restarts at 0 at midnight, and goes back an hour when
    // daylight saving time ends or whenever the system clock is set back.
    // Taken as it is, such a step makes the elapsed time hugely negative and
    // the wait would last until the clock caught up again, up to a day. So a
    // backward step counts as no time passing; the wait then overshoots by at
    // most the one step it did not count.
    double setBack = 0.0;
    for (;;) {
        const double now = readClock();
        if (now < previous) {
            setBack += previous - now;
        }
        previous = now;
        const double elapsed = now - start + setBack;
        if (!(elapsed < duration)) {
            return;
        }
        // Sleeps until an event or the wait's end, whichever comes first.
        m_eventPass.runOnePassWaitingAtMost(std::chrono::duration<double>(duration - elapsed));
    }
}

double MovieModule::readClock() {
    // Single precision on purpose: it decides which whole second a reading
    // rounds to, and start and readings must agree on it, or a wait of -0.5 s
    // could still run a pass.
    return static_cast<float>(m_clock.secondsSinceMidnight());
}

std::int32_t MovieModule::send(const std::string& command) {
    return static_cast<std::int32_t>(
        m_channel.sendCommand(command.c_str(), nullptr, 0, kNoCallback));
}

std::int32_t MovieModule::ask(const std::string& query) {
    return static_cast<std::int32_t>(
        m_channel.sendCommand(query.c_str(), answerBuffer.data(), kAnswerCapacity, kNoCallback));
}

std::int32_t MovieModule::askMilliseconds(const std::string& query) {
    m_error = send("set movie time format ms");
    m_error = ask(query);
    const std::string_view answer(answerBuffer.data(), answerBuffer.size());
    return int32::fromDouble(answerNumber(answer));
}

void MovieModule::open(const std::string& afterFilename) {
    m_filename = '"' + m_filename + '"';
    m_error = send("close movie");
    m_error = send("open " + m_filename + afterFilename);
}

}  // namespace trelvane::movie
