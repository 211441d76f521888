#include "mci/mpv/SegmentedPlayback.h"

#include "mci/timeline/SeekPoint.h"

#include "mci/timeline/ClockWrap.h"

#include <algorithm>
#include <charconv>

namespace trelvane::mci {
namespace {

// A picture shown this little before the target is the one asked for, at
// the frame rates of discs (a picture each 33 or 40 ms, or a field each 17
// or 20 ms where they are shown field by field).
constexpr double kStepSlackSeconds = 0.03;
// The shortest a picture is shown on a disc: a field of 60 a second. The
// steps to a target are bounded by the pictures between, not by a time: a
// core that decodes slowly (a busy machine) still lands where it was sent,
// and one that stops showing new pictures ends the steps at its wait.
constexpr double kShortestPictureSeconds = 1.0 / 60;
// The core starts at the group asked for or up to a group or two after it
// (where it takes the group's pack for one inside the group before); a
// picture before that group, or further on, is another stretch's.
constexpr double kLandingBeforeSeconds = 0.3;
constexpr double kLandingAfterSeconds = 1.2;
// Starts tried for one seek: a group, the same again without steps, the
// groups before.
constexpr int kMostStarts = 4;

std::string decimalText(double value, int decimals) {
    // to_chars ignores the locale: the core wants '.' whatever the user's is.
    char text[48];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

}  // namespace

std::unique_ptr<SegmentedPlayback> SegmentedPlayback::create(MpvHandle& mpv,
                                                             timeline::TimelineTask::Built built,
                                                             std::int64_t furthestMs) {
    if (built.timeline.segmentCount() < 2) {
        return nullptr;
    }
    return std::unique_ptr<SegmentedPlayback>(
        new SegmentedPlayback(mpv, std::move(built.reader), std::move(built.timeline), furthestMs));
}

SegmentedPlayback::SegmentedPlayback(MpvHandle& mpv, std::unique_ptr<timeline::PackReader> reader,
                                     timeline::Timeline timeline, std::int64_t furthestMs)
    : m_mpv(mpv),
      m_reader(std::move(reader)),
      m_timeline(std::move(timeline)),
      m_tracker(m_timeline) {
    // Playback began at the first stretch and has only moved on; a stamp
    // shown now that steps back from the furthest the core got means a
    // restart was crossed meanwhile.
    const auto start = m_mpv.getDouble("demuxer-start-time");
    const double firstPts = m_timeline.segment(0).firstPts;
    m_tracker.restart({0, start ? std::max(firstPts, timeline::unwrapped(*start, firstPts) +
                                                         static_cast<double>(furthestMs) / 1000.0)
                                : firstPts});
    if (const auto stamp = shownStamp()) {
        m_heldMs = m_tracker.positionMs(*stamp, readOffset(), 0);
    }
    m_lastLook = std::chrono::steady_clock::now();
}

std::optional<double> SegmentedPlayback::shownStamp() {
    // The core counts from the file's first stamp; the stretches are indexed
    // by the stamps themselves.
    const auto position = m_mpv.getDouble("time-pos");
    const auto start = m_mpv.getDouble("demuxer-start-time");
    if (!position || !start) {
        return std::nullopt;
    }
    const double stamp = *position + *start;
    const double onTimeline = timeline::unwrapped(stamp, m_timeline.segment(0).firstPts);
    m_wrapShift = onTimeline - stamp;
    return onTimeline;
}

std::optional<std::int64_t> SegmentedPlayback::playedSinceLastLook() {
    const auto now = std::chrono::steady_clock::now();
    std::optional<std::int64_t> played;
    if (m_lastLook) {
        played =
            m_mpv.getFlag("pause").value_or(false)
                ? 0
                : std::chrono::duration_cast<std::chrono::milliseconds>(now - *m_lastLook).count();
    }
    m_lastLook = now;
    return played;
}

std::optional<std::uint64_t> SegmentedPlayback::readOffset() {
    if (const auto read = m_mpv.getDouble("stream-pos"); read && *read >= 0) {
        return static_cast<std::uint64_t>(*read);
    }
    return std::nullopt;
}

std::int64_t SegmentedPlayback::positionMs() {
    const auto stamp = shownStamp();
    if (!stamp) {
        return m_heldMs;
    }
    m_heldMs =
        std::max(m_heldMs, m_tracker.positionMs(*stamp, readOffset(), playedSinceLastLook()));
    applyEnd();
    return m_heldMs;
}

bool SegmentedPlayback::seek(std::int64_t ms, const CoreWaits& waits) {
    // An end point of the stretch left behind could stop the core at once
    // in the stretch ahead; settle() sets it again where playback lands.
    if (m_coreEnd != "none") {
        if (!m_mpv.setProperty("end", "none")) {
            return false;
        }
        m_coreEnd = "none";
    }
    m_seekTarget = m_timeline.locate(ms);
    // Started at a group near the end of its stretch, the core can find the
    // sound there running out and go on at the next stretch's first picture,
    // at once or a few pictures on (where the stretch lacks the sound track
    // played, as soon as it has read as far as the next one's). A start that
    // leaves the stretch is tried again at the group before; steps that
    // leave it, again without steps: the group's own picture. The core, gone
    // on into the next stretch, is first sent back to the start of the
    // target's: sent from the next one straight to that group, it has been
    // seen to start in the next stretch again.
    // Should all of that fail, the stretch's own start, where the core
    // always starts.
    const std::uint64_t stretchStart = m_timeline.segment(m_seekTarget.segment).byteStart;
    std::optional<double> before;
    bool step = true;
    bool landed = false;
    for (int attempt = 0; attempt < kMostStarts && !landed; ++attempt) {
        timeline::SeekPoint point;
        waits.aside(
            [&] { point = timeline::seekPoint(*m_reader, m_timeline, m_seekTarget, before); });
        if (!startAt(point.offset)) {
            return false;
        }
        waits.restart();
        if (point.groupPts && !landedAt(*point.groupPts)) {
            before = point.groupPts;
            continue;
        }
        landed = !step || stepTo(m_seekTarget.pts, waits);
        if (!landed) {
            step = false;
            if (!startAt(stretchStart)) {
                return false;
            }
            waits.restart();
        }
    }
    if (!landed) {
        if (!startAt(stretchStart)) {
            return false;
        }
        waits.restart();
    }
    settle();
    return true;
}

bool SegmentedPlayback::startAt(std::uint64_t offset) {
    const double percent =
        100.0 * static_cast<double>(offset) / static_cast<double>(m_reader->size());
    const std::string target = decimalText(percent, 12);
    // What the core reported before is no news of this seek: a restart of
    // its own at a stretch's end would pass for this one's.
    m_mpv.drainEvents();
    // A seek by share of the file is a seek by byte offset for this kind of
    // file; "keyframes" keeps the core from turning it into one by stamp.
    return m_mpv.command({"seek", target.c_str(), "absolute-percent+keyframes"});
}

std::optional<double> SegmentedPlayback::stampNearTarget() {
    const auto stamp = shownStamp();
    if (!stamp) {
        return std::nullopt;
    }
    return timeline::nearestTurn(*stamp, m_seekTarget.pts);
}

bool SegmentedPlayback::landedAt(double groupPts) {
    const auto stamp = stampNearTarget();
    return stamp && *stamp >= groupPts - kLandingBeforeSeconds &&
           *stamp <= std::max(groupPts, m_seekTarget.pts) + kLandingAfterSeconds;
}

bool SegmentedPlayback::stepTo(double pts, const CoreWaits& waits) {
    // A seek by stamp has the core decode on from the picture group before
    // the target, out of sight; a seek by offset can only start at a group.
    // The pictures from there are stepped through, paused and silent.
    const auto shortOf = [&](double stamp) { return pts - stamp > kStepSlackSeconds; };
    auto shown = stampNearTarget();
    if (!shown || !shortOf(*shown)) {
        return true;
    }
    const bool paused = m_mpv.getFlag("pause").value_or(true);
    const bool muted = m_mpv.getFlag("mute").value_or(false);
    if (!m_mpv.setFlag("pause", true) || !m_mpv.setFlag("mute", true)) {
        return true;
    }
    bool inStretch = true;
    int stepsLeft = static_cast<int>((pts - *shown) / kShortestPictureSeconds) + 2;
    while (shown && shortOf(*shown) && stepsLeft-- > 0) {
        const double before = *shown;
        if (!m_mpv.command({"frame-step"}) ||
            !waits.until([&] { return (shown = stampNearTarget()) && *shown != before; })) {
            break;
        }
        // The next stretch's stamps start afresh.
        if (*shown < before) {
            inStretch = false;
            break;
        }
    }
    // A step leaves the core paused; playback goes on as it went before.
    m_mpv.setFlag("mute", muted);
    m_mpv.setFlag("pause", paused);
    return inStretch;
}

void SegmentedPlayback::settle() {
    timeline::Place landed = m_seekTarget;
    if (const auto stamp = shownStamp()) {
        landed.pts = *stamp;
    }
    m_tracker.restart(landed);
    m_heldMs = m_timeline.continuousMs(landed);
    m_lastLook = std::chrono::steady_clock::now();
    applyEnd();
}

bool SegmentedPlayback::setEndMs(std::optional<std::int64_t> ms) {
    m_endMs = ms;
    return applyEnd();
}

bool SegmentedPlayback::applyEnd() {
    // The core can stop by itself only at a stamp of the stretch it plays;
    // an end in a later stretch waits until playback gets there.
    std::optional<double> coreEnd;
    if (m_endMs) {
        const timeline::Place end = m_timeline.locate(*m_endMs);
        const auto start = m_mpv.getDouble("demuxer-start-time");
        if (end.segment == m_tracker.segment() && start) {
            coreEnd = end.pts - m_wrapShift - *start;
        }
    }
    const std::string text = coreEnd ? decimalText(*coreEnd, 3) : std::string("none");
    if (text == m_coreEnd) {
        return true;
    }
    m_coreEnd = text;
    return m_mpv.setProperty("end", text);
}

bool SegmentedPlayback::reachedEnd() {
    if (m_endMs && positionMs() >= *m_endMs) {
        return true;
    }
    return m_mpv.getFlag("eof-reached").value_or(false);
}

}  // namespace trelvane::mci
