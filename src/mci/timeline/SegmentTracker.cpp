#include "mci/timeline/SegmentTracker.h"

namespace trelvane::mci::timeline {
namespace {

// Stamps of sound and picture near the edges of a stretch overhang it a little.
constexpr double kEdgeSlack = 1.0;
// The shown stamp may step back a little as the player switches clocks
// between sound and picture; a restart steps back much further.
constexpr double kJitter = 0.5;
// The player reads ahead of what it shows, but not by more than this.
constexpr std::uint64_t kReadSlack = 1 << 20;

}  // namespace

void SegmentTracker::restart(const Place& place) {
    m_segment = place.segment;
    m_lastPts = place.pts;
    m_lastMs = m_timeline.continuousMs(place);
}

void SegmentTracker::find(double pts, std::optional<std::uint64_t> readOffset) {
    restart({segmentHolding(0, pts, readOffset).value_or(0), pts});
}

std::int64_t SegmentTracker::positionMs(double pts, std::optional<std::uint64_t> readOffset) {
    const bool held = m_timeline.segment(m_segment).holdsStamp(pts, kEdgeSlack);
    const bool steppedBack = m_lastPts && pts < *m_lastPts - kJitter;
    if (steppedBack || !held) {
        if (const auto later = segmentHolding(m_segment + 1, pts, readOffset)) {
            m_segment = *later;
        } else if (!held) {
            // For a moment after crossing a restart the player can show a
            // stamp made up while it resyncs, one no stretch of the file
            // holds; it is no place in the movie, so stay where playback was.
            return m_lastMs;
        }
    }
    m_lastPts = pts;
    m_lastMs = m_timeline.continuousMs({m_segment, pts});
    return m_lastMs;
}

std::optional<std::size_t> SegmentTracker::segmentHolding(
    std::size_t from, double pts, std::optional<std::uint64_t> readOffset) const {
    // Without a read offset, the first stretch from `from` holding the stamp;
    // with one, the stretch whose data for the stamp lies closest to it.
    std::optional<std::size_t> best;
    std::uint64_t bestDistance = 0;
    for (std::size_t index = from; index < m_timeline.segmentCount(); ++index) {
        if (!m_timeline.segment(index).holdsStamp(pts, kEdgeSlack)) {
            continue;
        }
        if (!readOffset) {
            return index;
        }
        const std::uint64_t estimate = m_timeline.estimateOffset({index, pts});
        if (estimate > *readOffset + kReadSlack) {
            break;  // later stretches lie further ahead still
        }
        const std::uint64_t distance =
            estimate > *readOffset ? estimate - *readOffset : *readOffset - estimate;
        if (!best || distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace trelvane::mci::timeline
