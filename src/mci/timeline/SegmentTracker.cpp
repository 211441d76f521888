#include "mci/timeline/SegmentTracker.h"

#include <algorithm>
#include <cstdlib>

namespace trelvane::mci::timeline {
namespace {

// Stamps of sound and picture near the edges of a stretch overhang it a little.
constexpr double kEdgeSlack = 1.0;
// The shown stamp may step back a little as the player switches clocks
// between sound and picture; a restart steps back much further.
constexpr double kJitter = 0.5;
// With nothing else to go by, data further behind where the player reads
// than this was shown a while ago.
constexpr double kMostLeadSeconds = 1.5;
// A stretch was passed between two looks when the time played since the
// last one puts playback this much past the stamp's place in it.
constexpr std::int64_t kPassedMs = 1000;
// With the time played to go by, a step back of more than a frame or two is
// judged by it.
constexpr double kFrameJitter = 0.05;
// How far from where the time played puts it a stamp that steps back may
// place playback, and how many looks running such stamps are set aside.
constexpr std::int64_t kStrayMs = 700;
constexpr int kMostStrays = 3;
// How far the estimate of where a stamp's data lies can be off, in seconds
// of the stretch's data.
constexpr double kEstimateSeconds = 0.3;

std::uint64_t bytesOf(const Segment& segment, double seconds) {
    const double perSecond =
        static_cast<double>(segment.byteEnd - segment.byteStart) / std::max(segment.span(), 0.001);
    return static_cast<std::uint64_t>(perSecond * seconds);
}

}  // namespace

void SegmentTracker::restart(const Place& place) {
    m_strays = 0;
    m_unplacedMs = 0;
    m_segment = place.segment;
    m_lastPts = place.pts;
    m_lastMs = m_timeline.continuousMs(place);
}

void SegmentTracker::find(double pts, std::optional<std::uint64_t> readOffset) {
    restart({laterHolding(0, {pts, readOffset, std::nullopt}, Need::Move).value_or(0), pts});
}

std::int64_t SegmentTracker::positionMs(double pts, std::optional<std::uint64_t> readOffset,
                                        std::optional<std::int64_t> playedMs) {
    if (playedMs) {
        return followPlayed(pts, readOffset, *playedMs);
    }
    const Look look{pts, readOffset, std::nullopt};
    const bool held = m_timeline.segment(m_segment).holdsStamp(pts, kEdgeSlack);
    const bool steppedBack = m_lastPts && pts < *m_lastPts - kJitter;
    if (steppedBack || !held) {
        if (const auto later = laterHolding(m_segment + 1, look, Need::Move)) {
            m_segment = *later;
        } else if (!held) {
            // For a moment after crossing a restart the player can show a
            // stamp made up while it resyncs, one no stretch of the file
            // holds; it is no place in the movie, so stay where playback was.
            return m_lastMs;
        }
    } else if (passed(m_segment, look)) {
        // Stretches passed between two looks without the stamps being seen
        // to step back.
        if (const auto later = laterHolding(m_segment + 1, look, Need::Check)) {
            m_segment = *later;
        }
    }
    m_lastPts = pts;
    m_lastMs = m_timeline.continuousMs({m_segment, pts});
    return m_lastMs;
}

std::int64_t SegmentTracker::followPlayed(double pts, std::optional<std::uint64_t> readOffset,
                                          std::int64_t playedMs) {
    m_unplacedMs += playedMs;
    const Look look{pts, readOffset, m_lastMs + m_unplacedMs};
    const bool forward = !m_lastPts || pts >= *m_lastPts - kFrameJitter;
    std::optional<std::size_t> chosen;
    if (forward && m_timeline.segment(m_segment).holdsStamp(pts, kEdgeSlack) &&
        !passed(m_segment, look)) {
        chosen = m_segment;
    } else {
        // Stamps that step back, by however little (a look just before a
        // restart and one just after it on a short stretch), or that left the
        // stretch: the stretch holding them nearest where the time played
        // puts playback.
        std::optional<std::size_t> best;
        std::int64_t bestDistance = 0;
        for (std::size_t index = m_segment; index < m_timeline.segmentCount(); ++index) {
            if (!m_timeline.segment(index).holdsStamp(pts, kEdgeSlack)) {
                continue;
            }
            if (!read(index, look)) {
                break;
            }
            const std::int64_t distance =
                std::abs(m_timeline.continuousMs({index, pts}) - *look.expectedMs);
            if (!best || distance < bestDistance) {
                best = index;
                bestDistance = distance;
            }
        }
        // A stamp that steps back to nowhere near where playback should be
        // is one the player made up while it resyncs after a restart (or
        // shows from the other clock for a moment): no place in the movie,
        // unless it keeps coming.
        if (best && (forward || bestDistance <= kStrayMs || ++m_strays > kMostStrays)) {
            chosen = best;
        }
    }
    if (!chosen) {
        return m_lastMs;
    }
    m_strays = 0;
    m_unplacedMs = 0;
    m_segment = *chosen;
    m_lastPts = pts;
    m_lastMs = m_timeline.continuousMs({m_segment, pts});
    return m_lastMs;
}

std::optional<std::size_t> SegmentTracker::laterHolding(std::size_t from, const Look& look,
                                                        Need need) const {
    // The first stretch from `from` holding the stamp whose data the player
    // has read and that playback has not passed; failing that, the last one
    // it has read, or for a move the first of all.
    std::optional<std::size_t> first;
    std::optional<std::size_t> lastRead;
    for (std::size_t index = from; index < m_timeline.segmentCount(); ++index) {
        if (!m_timeline.segment(index).holdsStamp(look.pts, kEdgeSlack)) {
            continue;
        }
        first = first.value_or(index);
        if (!read(index, look)) {
            break;  // later stretches lie further ahead still
        }
        if (!passed(index, look)) {
            return index;
        }
        lastRead = index;
    }
    return lastRead ? lastRead : need == Need::Move ? first : std::nullopt;
}

bool SegmentTracker::passed(std::size_t index, const Look& look) const {
    if (look.expectedMs) {
        return m_timeline.continuousMs({index, look.pts}) + kPassedMs < *look.expectedMs;
    }
    return look.readOffset && m_timeline.estimateOffset({index, look.pts}) +
                                      bytesOf(m_timeline.segment(index), kMostLeadSeconds) <
                                  *look.readOffset;
}

bool SegmentTracker::read(std::size_t index, const Look& look) const {
    return !look.readOffset ||
           m_timeline.estimateOffset({index, look.pts}) <=
               *look.readOffset + bytesOf(m_timeline.segment(index), kEstimateSeconds);
}

}  // namespace trelvane::mci::timeline
