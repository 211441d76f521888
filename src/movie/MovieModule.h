#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "movie/CommandChannel.h"
#include "movie/EventPass.h"
#include "movie/TimeOfDayClock.h"

namespace trelvane::movie {

// Drives the one media device opened under the alias "movie" by command
// texts, and reads numbers and the play mode from the answers. It keeps no
// state of the device: whatever it knows comes from asking.
//
// Statuses returned by the channel are stored in Error() and never judged;
// the only failures are overflows (trelvane::Failure), thrown where they
// happen. The object sends nothing when created or destroyed.
class MovieModule {
public:
    MovieModule(CommandChannel& channel, TimeOfDayClock& clock, EventPass& eventPass);

    MovieModule(const MovieModule&) = delete;
    MovieModule& operator=(const MovieModule&) = delete;

    std::int32_t Error() const { return m_error; }
    void setError(std::int32_t error) { m_error = error; }

    const std::string& Filename() const { return m_filename; }
    void setFilename(const std::string& filename) { m_filename = filename; }

    // Both wrap Filename in double quotes (each call adds another pair) and
    // close any device left under the alias before opening.
    void openMovieWindow(std::int32_t hWnd, const std::string& WindowStyle);
    void openMovie();
    void playMovie();
    void stopMovie();
    std::int32_t getLengthInMS();
    std::int32_t getLengthInSec();
    void pauseMovie();
    void resumeMovie();
    std::int32_t getPositionInMS();
    // Closes every device of the process, not only "movie".
    void closeMovie();
    std::int32_t getPositionInSec();
    bool isMoviePlaying();
    // Relies on an earlier length or position query having switched the
    // device to milliseconds.
    void setPositionTo(std::int32_t Second);
    // Waits about `duration` seconds (measured from the nearest whole second)
    // while running the window's event loop; any handler may run meanwhile.
    // Each pass sleeps until an event comes or the wait is over.
    void timeOut(double duration);

private:
    static constexpr std::uint32_t kAnswerCapacity = 128;

    std::int32_t send(const std::string& command);
    std::int32_t ask(const std::string& query);
    std::int32_t askMilliseconds(const std::string& query);
    void open(const std::string& afterFilename);
    double readClock();

    CommandChannel& m_channel;
    TimeOfDayClock& m_clock;
    EventPass& m_eventPass;
    std::int32_t m_error = 0;
    std::string m_filename;
    // Never cleared: a query the channel leaves unanswered reads the previous
    // answer again, and bytes behind the newest terminator are old ones.
    std::array<char, kAnswerCapacity> answerBuffer{};
};

}  // namespace trelvane::movie
