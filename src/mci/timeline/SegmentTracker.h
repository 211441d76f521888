#pragma once

#include <cstdint>
#include <optional>

#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// Follows a playing movie from stretch to stretch. The player reports only
// the file's own stamps, which start again at each restart of the clocks, so
// the same stamp can belong to several stretches: the tracker remembers where
// playback is and moves on when the stamps step back into a later stretch.
class SegmentTracker {
public:
    explicit SegmentTracker(const Timeline& timeline) : m_timeline(timeline) {}

    // After a seek (or at the start), playback is known to be at `place`.
    void restart(const Place& place);
    // Playback already under way, with nothing known of where: the stretch
    // that holds the stamp and whose data lies closest to `readOffset`.
    void find(double pts, std::optional<std::uint64_t> readOffset);

    // The continuous position of a stamp the player shows now. `readOffset`,
    // where the player reads the file, breaks ties between later stretches
    // holding the same stamp: the player never reads behind what it shows.
    std::int64_t positionMs(double pts, std::optional<std::uint64_t> readOffset);

    std::size_t segment() const { return m_segment; }

private:
    std::optional<std::size_t> segmentHolding(std::size_t from, double pts,
                                              std::optional<std::uint64_t> readOffset) const;

    const Timeline& m_timeline;
    std::size_t m_segment = 0;
    std::optional<double> m_lastPts;
    std::int64_t m_lastMs = 0;
};

}  // namespace trelvane::mci::timeline
