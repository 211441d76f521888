#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "mci/mpv/MpvHandle.h"
#include "mci/timeline/PackReader.h"
#include "mci/timeline/SegmentTracker.h"
#include "mci/timeline/Timeline.h"
#include "mci/timeline/TimelineTask.h"

namespace trelvane::mci {

// Playback of a file whose clocks restart, on the continuous timeline built
// from its packs. The core sees only the file's own stamps, which repeat from
// stretch to stretch: positions are told apart by following playback, and
// seeks go by byte offset, since a seek by stamp could land in any stretch
// that holds the stamp.
class SegmentedPlayback {
public:
    // nullptr for a file that needs none of this: clocks that run on from
    // start to end, which the core handles on its own. The movie may already
    // be playing, on from the start of the file (it is never sent anywhere
    // before the timeline is in): `furthestMs` is the furthest the core's own
    // clock was seen to get meanwhile.
    static std::unique_ptr<SegmentedPlayback> create(MpvHandle& mpv,
                                                     timeline::TimelineTask::Built built,
                                                     std::int64_t furthestMs);

    // It holds the core by reference: a copy would outlive what it steers.
    SegmentedPlayback(const SegmentedPlayback&) = delete;
    SegmentedPlayback& operator=(const SegmentedPlayback&) = delete;

    std::int64_t lengthMs() const { return m_timeline.lengthMs(); }
    std::int64_t positionMs();

    // How a seek waits on the core, each for a while at most: until it has
    // restarted playback, and until a condition holds (looked at as the
    // core's events come; false when it never did). And how it reads the
    // movie for its starting place: `aside` runs the reads and returns
    // once they are done, without keeping a window from answering.
    struct CoreWaits {
        std::function<void()> restart;
        std::function<bool(const std::function<bool()>&)> until;
        std::function<void(const std::function<void()>&)> aside;
    };

    // Starts the core at the picture group before the target, in the
    // target's stretch, and steps on from there to the target.
    bool seek(std::int64_t ms, const CoreWaits& waits);

    bool setEndMs(std::optional<std::int64_t> ms);
    bool reachedEnd();

private:
    SegmentedPlayback(MpvHandle& mpv, std::unique_ptr<timeline::PackReader> reader,
                      timeline::Timeline timeline, std::int64_t furthestMs);
    std::optional<double> shownStamp();
    std::optional<std::int64_t> playedSinceLastLook();
    std::optional<std::uint64_t> readOffset();
    // The stamp shown, counted in the same turn of the clock as the target.
    std::optional<double> stampNearTarget();
    bool startAt(std::uint64_t offset);
    bool landedAt(double groupPts);
    // Steps on to the picture at `pts`; false when a step left the stretch.
    bool stepTo(double pts, const CoreWaits& waits);
    void settle();
    bool applyEnd();

    MpvHandle& m_mpv;
    std::unique_ptr<timeline::PackReader> m_reader;
    timeline::Timeline m_timeline;
    timeline::SegmentTracker m_tracker;
    timeline::Place m_seekTarget;
    // What the core's stamps must be moved by to be the timeline's: a whole
    // turn of the clock where the demuxer counts back from a wrap.
    double m_wrapShift = 0;
    // Played on, the movie never goes back: a stamp that dips for a moment
    // as the core changes clocks leaves the position where it was.
    std::int64_t m_heldMs = 0;
    std::optional<std::chrono::steady_clock::time_point> m_lastLook;
    std::optional<std::int64_t> m_endMs;
    std::string m_coreEnd = "none";
};

}  // namespace trelvane::mci
