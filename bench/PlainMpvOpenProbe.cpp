#include "PlainMpvOpenProbe.h"

#include <mpv/client.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace trelvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Waits for the event `wanted`; false when the file ends first or time is up.
bool waitFor(mpv_handle* mpv, mpv_event_id wanted) {
    const auto deadline = Clock::now() + std::chrono::minutes(10);
    while (Clock::now() < deadline) {
        const mpv_event* event = mpv_wait_event(mpv, 1.0);
        if (event->event_id == wanted) {
            return true;
        }
        if (event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_SHUTDOWN) {
            return false;
        }
    }
    return false;
}

double timePos(mpv_handle* mpv) {
    double seconds = NAN;
    mpv_get_property(mpv, "time-pos", MPV_FORMAT_DOUBLE, &seconds);
    return seconds;
}

bool loadAndPlay(mpv_handle* mpv, const std::string& path, Clock::time_point start,
                 OpenTimes& times) {
    const char* load[] = {"loadfile", path.c_str(), nullptr};
    if (mpv_command(mpv, load) < 0 || !waitFor(mpv, MPV_EVENT_FILE_LOADED) ||
        !waitFor(mpv, MPV_EVENT_PLAYBACK_RESTART)) {
        return false;
    }
    times.openMs = msSince(start);
    const double from = timePos(mpv);
    int play = 0;
    mpv_set_property(mpv, "pause", MPV_FORMAT_FLAG, &play);
    const auto deadline = start + std::chrono::minutes(10);
    while (!(timePos(mpv) > from)) {  // NaN until a frame is shown
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    times.playingMs = msSince(start);
    double length = 0;
    if (mpv_get_property(mpv, "duration", MPV_FORMAT_DOUBLE, &length) < 0) {
        return false;
    }
    times.movieLengthMs = std::lround(length * 1000);
    times.lengthMs = msSince(start);
    return true;
}

}  // namespace

OpenTimes PlainMpvOpenProbe::measure(const std::string& path) {
    OpenTimes times;
    const auto start = Clock::now();
    mpv_handle* mpv = mpv_create();
    if (mpv == nullptr) {
        return times;
    }
    for (const auto& [name, value] : {std::pair{"vo", "null"},
                                      {"ao", "null"},
                                      {"pause", "yes"},
                                      {"keep-open", "yes"},
                                      {"config", "no"},
                                      {"terminal", "no"},
                                      {"hwdec", "no"}}) {
        mpv_set_option_string(mpv, name, value);
    }
    if (mpv_initialize(mpv) >= 0) {
        loadAndPlay(mpv, path, start, times);
    }
    mpv_terminate_destroy(mpv);
    return times;
}

}  // namespace trelvane::bench
