#pragma once

#include <cstdint>
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
    // be playing: it is found on the timeline where the core reads it.
    static std::unique_ptr<SegmentedPlayback> create(MpvHandle& mpv,
                                                     timeline::TimelineTask::Built built);

    // It holds the core by reference: a copy would outlive what it steers.
    SegmentedPlayback(const SegmentedPlayback&) = delete;
    SegmentedPlayback& operator=(const SegmentedPlayback&) = delete;

    std::int64_t lengthMs() const { return m_timeline.lengthMs(); }
    std::int64_t positionMs();

    // Starts the seek; `settle` takes over once the core has restarted.
    bool seek(std::int64_t ms);
    void settle();

    bool setEndMs(std::optional<std::int64_t> ms);
    bool reachedEnd();

private:
    SegmentedPlayback(MpvHandle& mpv, std::unique_ptr<timeline::PackReader> reader,
                      timeline::Timeline timeline);
    std::optional<double> shownStamp();
    std::optional<std::uint64_t> readOffset();
    bool applyEnd();

    MpvHandle& m_mpv;
    std::unique_ptr<timeline::PackReader> m_reader;
    timeline::Timeline m_timeline;
    timeline::SegmentTracker m_tracker;
    timeline::Place m_seekTarget;
    std::optional<std::int64_t> m_endMs;
    std::string m_coreEnd = "none";
};

}  // namespace trelvane::mci
