#include "mci/mpv/MpvPlayer.h"

#include "mci/mpv/MovieStream.h"
#include "mci/mpv/SegmentedPlayback.h"
#include "mci/mpv/WorkAside.h"
#include "mci/mpv/X11Windows.h"
#include "mci/timeline/MovieReader.h"
#include "mci/timeline/TimelineTask.h"

#include <mpv/client.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <string>

namespace trelvane::mci {
namespace {

using namespace std::chrono_literals;

constexpr auto kOpenTimeout = 10s;
constexpr auto kSeekTimeout = 5s;
// The core's position can step back this far as it switches between the
// clocks of sound and picture.
constexpr std::int64_t kClockJitterMs = 500;

std::string secondsText(std::int64_t ms) {
    // to_chars ignores the locale: the core wants '.' whatever the user's is.
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(ms) / 1000.0,
                                      std::chars_format::fixed, 3);
    return std::string(text, result.ptr);
}

std::int64_t toMs(double seconds) {
    return std::llround(seconds * 1000.0);
}

}  // namespace

MpvPlayer::MpvPlayer(PlayerOutputs outputs, std::function<void()> wakeUp, WaitHost* host)
    : m_outputs(std::move(outputs)),
      m_wakeUp(std::move(wakeUp)),
      m_host(m_wakeUp ? host : nullptr) {}

MpvPlayer::~MpvPlayer() = default;

Status MpvPlayer::open(const OpenRequest& request) {
    const bool drawsIntoWindows = m_outputs.video != "null";
    if (request.parentWindow && drawsIntoWindows && !x11::windowExists(*request.parentWindow)) {
        return status::NoWindow;
    }
    if (!configure(request) || !m_mpv.initialize()) {
        return status::CannotLoadDriver;
    }
    if (m_wakeUp) {  // before the load, whose wait a host spends woken by it
        m_mpv.setWakeUp(m_wakeUp);
    }
    const Status loaded = load(request.path);
    if (loaded != status::Ok) {
        return loaded;
    }
    return installWakeUp() ? status::Ok : status::CannotLoadDriver;
}

bool MpvPlayer::configure(const OpenRequest& request) {
    struct Setting {
        const char* name;
        std::string value;
    };
    const Setting settings[] = {
        // The outputs the caller chose; see PlayerOutputs.
        {"vo", m_outputs.video},
        {"ao", m_outputs.audio},
        // A machine without a sound device plays silently rather than
        // failing the open.
        {"audio-fallback-to-null", "yes"},
        // Loaded files wait for a play command, and stay loaded at their end
        // so that length and position can still be asked for.
        {"pause", "yes"},
        {"keep-open", "yes"},
        {"idle", "yes"},
        // Never a window of the core's own: the picture lives in the parent.
        {"force-window", "no"},
        // A picture of another shape than the frame keeps its own, with bars:
        // 16:9 pictures (stored 720 wide, their pixels wider than tall) at
        // 16:9 with bars above and below, 4:3 ones unstretched.
        {"keepaspect", "yes"},
        // Most discs of television and home video are interlaced, and the
        // core shows both fields of such a picture at once: a moving edge
        // turns into teeth. Pictures flagged interlaced are split into their
        // fields, each filled out to a whole picture and shown at its own
        // moment (twice the frame rate, as on a television); pictures not
        // flagged so, and progressive stretches of a mixed movie, pass
        // untouched. The field order comes from each picture's flags.
        {"vf", "bwdif=mode=send_field:deint=interlaced"},
        // Seeks land on the picture asked for, not on the keyframe before
        // it, so a position reads back as it was set.
        {"hr-seek", "yes"},
        // Seeking in a program stream can land after the keyframe it asked
        // for, and an exact seek cannot go back from there: ask for a point
        // early enough that the target is decoded up to, never overshot.
        {"hr-seek-demuxer-offset", "1"},
        // Software decoding: the same pictures on every machine, and no
        // probing of graphics drivers at every open.
        {"hwdec", "no"},
        // Reads of a megabyte rather than 128 KiB. From a disk or a disc,
        // every read that follows one of the time index's (built beside
        // the playback) costs a seek: fewer reads, fewer seeks; from a DVD
        // drive that finds the length of a 1 GiB file a third sooner, for
        // about 0.1 s more before the first picture and after each seek.
        {"stream-buffer-size", "1MiB"},
        // The movie comes through a stream of ours (see MovieStream): read it
        // as the core reads a file, a second or so ahead of the picture,
        // never into a read-ahead cache that would compete with the time
        // index's reads, whatever the core's default for such streams.
        {"cache", "no"},
        // Only a context that draws into an X11 window: probing the others
        // (DRM, Wayland) on a machine without them has been seen to close
        // descriptors the process still uses.
        {"gpu-context", "x11egl"},
        // The window around the picture owns the keyboard and the mouse.
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"input-cursor", "no"},
        {"cursor-autohide", "no"},
        {"osc", "no"},
        {"osd-level", "0"},
        // Nothing but the named file is ever read: no user config, scripts,
        // side files or playlists expanded from the file's content.
        {"config", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"terminal", "no"},
        {"sub-auto", "no"},
        {"audio-file-auto", "no"},
        {"load-unsafe-playlists", "no"},
        {"resume-playback", "no"},
        {"save-position-on-quit", "no"},
    };
    for (const Setting& setting : settings) {
        if (setting.value.empty()) {
            continue;
        }
        if (!m_mpv.setOption(setting.name, setting.value)) {
            return false;
        }
    }
    if (request.parentWindow) {
        return m_mpv.setOption("wid", static_cast<long long>(*request.parentWindow));
    }
    return true;
}

bool MpvPlayer::installWakeUp() {
    if (!m_wakeUp) {
        return true;
    }
    // Observing the position is what makes the core wake a waiting owner as
    // the movie plays. The owner reads whole seconds, so on the core's own
    // clock the core is asked for the whole seconds (it truncates, as the
    // owner does) and wakes it once a second, at the first frame of each.
    // A timeline found later to restart adds a wake-up at every frame.
    return m_mpv.observe("time-pos", MpvHandle::Observed::WholeNumber);
}

Status MpvPlayer::load(const std::string& path) {
    auto movie = std::make_shared<timeline::MovieReader>();
    if (!movie->open(path)) {
        return status::InvalidFile;
    }
    m_movie = std::move(movie);
    if (!movie_stream::install(m_mpv, &m_movie)) {
        return status::CannotLoadDriver;
    }
    if (!m_mpv.command({"loadfile", movie_stream::kUrl, "replace"})) {
        return status::InvalidFile;
    }
    bool loaded = false;
    const bool decided = waitForEvent(
        [&loaded](const mpv_event& event) {
            switch (event.event_id) {
                case MPV_EVENT_FILE_LOADED:
                    loaded = true;
                    return true;
                case MPV_EVENT_END_FILE:  // failed, or redirected to other files
                case MPV_EVENT_SHUTDOWN:
                    return true;
                default:
                    return false;
            }
        },
        kOpenTimeout);
    if (!decided || !loaded || !hasVideo()) {
        return status::InvalidFile;
    }
    const auto duration = m_mpv.getDouble("duration");
    if (!duration || !(*duration > 0)) {
        return status::InvalidFile;
    }
    m_lengthMs = toMs(*duration);
    waitForPlaybackRestart();
    // Begun only once the first picture is there: on a disk or disc its
    // reads would otherwise stand in the way of the core's. Both read through
    // the one reader, so an unreadable place costs its failed reads once.
    m_index = std::make_unique<timeline::TimelineTask>(m_movie, path, m_wakeUp);
    return status::Ok;
}

void MpvPlayer::takeTimeline() {
    if (!m_index) {
        return;
    }
    if (m_host) {
        // Built beside the playback, usually before it is needed; a host
        // keeps the window alive for the rest. It ends, if not sooner,
        // once its reads fail.
        m_host->waitUntil([this] { return m_index->ready(); }, std::chrono::hours(24));
    }
    auto built = m_index->take();
    m_index.reset();
    if (built) {
        m_segmented = SegmentedPlayback::create(m_mpv, std::move(*built), m_pendingMs);
    }
    if (!m_segmented) {
        return;
    }
    // The core's length of a file whose clocks restart counts one stretch or
    // spans the jumps between them: the timeline of the packs replaces it.
    m_lengthMs = m_segmented->lengthMs();
    // The timeline turns over its seconds elsewhere than the core's clock
    // does: a waiting owner is woken at every frame instead, and a seek
    // that steps through pictures learns of each.
    if (!m_mpv.observe("time-pos", MpvHandle::Observed::Fraction)) {
        m_segmented.reset();
    }
}

void MpvPlayer::takeTimelineIfBuilt() {
    if (m_index && m_index->ready()) {
        takeTimeline();
    }
}

bool MpvPlayer::hasVideo() {
    const auto vid = m_mpv.getString("vid");
    return vid && *vid != "no" && *vid != "auto";
}

void MpvPlayer::waitForPlaybackRestart() {
    // A seek or load that never settles (a damaged stream) must not hang the
    // caller; the position then simply reads as what the core last reported.
    waitForEvent(
        [](const mpv_event& event) {
            return event.event_id == MPV_EVENT_PLAYBACK_RESTART ||
                   event.event_id == MPV_EVENT_END_FILE;
        },
        kSeekTimeout);
}

bool MpvPlayer::waitForEvent(const std::function<bool(const mpv_event&)>& handle,
                             std::chrono::milliseconds timeout) {
    if (!m_host) {
        return m_mpv.waitFor(handle, timeout);
    }
    return m_host->waitUntil([this, &handle] { return m_mpv.handleQueued(handle); }, timeout);
}

std::int64_t MpvPlayer::lengthMs() {
    takeTimeline();
    return m_lengthMs;
}

std::int64_t MpvPlayer::positionMs() {
    m_mpv.drainEvents();
    takeTimelineIfBuilt();
    if (m_parkedMs) {
        return *m_parkedMs;
    }
    if (m_segmented) {
        return std::clamp<std::int64_t>(m_segmented->positionMs(), 0, m_lengthMs);
    }
    const auto position = m_mpv.getDouble("time-pos");
    if (!position) {
        return 0;
    }
    const std::int64_t coreMs = toMs(*position);
    if (!m_index) {
        return std::clamp<std::int64_t>(coreMs, 0, m_lengthMs);
    }
    // Until the timeline is in, the core's clock stands for it. Nothing can
    // send that clock back meanwhile but a restart in the file, and past one
    // only the timeline knows the position: then it is waited for.
    if (coreMs < m_pendingMs - kClockJitterMs) {
        takeTimeline();
        return positionMs();
    }
    // The core's length may be that of the first stretch alone, which
    // playback can pass.
    m_pendingMs = std::max(m_pendingMs, coreMs);
    return std::max<std::int64_t>(coreMs, 0);
}

Status MpvPlayer::seek(std::int64_t ms) {
    m_mpv.drainEvents();
    takeTimeline();
    const std::string target = secondsText(ms);
    const SegmentedPlayback::CoreWaits waits{
        [this] { waitForPlaybackRestart(); },
        [this](const std::function<bool()>& condition) {
            return condition() ||
                   waitForEvent([&](const mpv_event&) { return condition(); }, kSeekTimeout);
        },
        [this](const std::function<void()>& work) { workAside(m_host, m_wakeUp, work); }};
    if (m_segmented) {
        if (!m_segmented->seek(ms, waits)) {
            return status::OutOfRange;
        }
    } else {
        if (!m_mpv.command({"seek", target.c_str(), "absolute+exact"})) {
            return status::OutOfRange;
        }
        waitForPlaybackRestart();
    }
    m_parkedMs = ms;
    return status::Ok;
}

Status MpvPlayer::setPaused(bool paused) {
    m_mpv.drainEvents();
    if (!paused && m_parkedMs && *m_parkedMs >= m_lengthMs) {
        return status::Ok;  // at the end there is nothing left to play
    }
    if (!m_mpv.setFlag("pause", paused)) {
        return status::InvalidFile;
    }
    if (!paused) {
        m_parkedMs.reset();
    }
    return status::Ok;
}

Status MpvPlayer::setEndMs(std::optional<std::int64_t> ms) {
    m_mpv.drainEvents();
    // Only an end point is a place on the timeline; playing on to the end
    // of the file must not wait for it.
    if (ms) {
        takeTimeline();
    } else {
        takeTimelineIfBuilt();
    }
    if (m_segmented) {
        return m_segmented->setEndMs(ms) ? status::Ok : status::OutOfRange;
    }
    // The core stops by itself at its end point and then reports the end of
    // the file, exactly as at the real end.
    const std::string end = ms ? secondsText(*ms) : std::string("none");
    return m_mpv.setProperty("end", end) ? status::Ok : status::OutOfRange;
}

bool MpvPlayer::reachedEnd() {
    m_mpv.drainEvents();
    takeTimelineIfBuilt();
    if (m_parkedMs) {
        return *m_parkedMs >= m_lengthMs;
    }
    if (m_segmented) {
        return m_segmented->reachedEnd();
    }
    return m_mpv.getFlag("eof-reached").value_or(false);
}

bool MpvPlayer::savePicture(const std::string& path) {
    m_mpv.drainEvents();
    return m_mpv.command({"screenshot-to-file", path.c_str(), "video"});
}

}  // namespace trelvane::mci
