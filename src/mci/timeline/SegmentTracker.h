#pragma once

#include <cstdint>
#include <optional>

#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// Follows a playing movie from stretch to stretch. The player reports only
// the file's own stamps, which start again at each restart of the clocks, so
// the same stamp can belong to several stretches: the tracker remembers which
// stretch the picture shown comes from, and moves on to the next one holding
// the stamp when the stamps of the pictures step back (or leave the stretch).
//
// Where the player reads the file only bounds that: a stretch whose data for
// the stamp the player has not read yet cannot be the one shown. How far
// ahead it reads is no measure: 0.7 to 0.9 s, which on stretches of a second
// or two lies in the next stretch already, and whole stretches when the
// sound track it plays is missing from one. Between two looks far apart,
// the time played since the last one tells which later stretch it is.
class SegmentTracker {
public:
    explicit SegmentTracker(const Timeline& timeline) : m_timeline(timeline) {}

    // After a seek (or at the start), playback is known to be at `place`.
    void restart(const Place& place);
    // Playback already under way, with nothing known of where: the first
    // stretch holding the stamp that fits where the player reads.
    void find(double pts, std::optional<std::uint64_t> readOffset);

    // The continuous position of a stamp the player shows now, with the
    // player reading at `readOffset` of the file, `playedMs` after the last
    // look. Without the time played, a stretch whose data lies well behind
    // where the player reads counts as passed.
    std::int64_t positionMs(double pts, std::optional<std::uint64_t> readOffset,
                            std::optional<std::int64_t> playedMs = std::nullopt);

    std::size_t segment() const { return m_segment; }

private:
    // Why a later stretch is looked for: the stamps left the one played (it
    // must be left for any that holds them), or only where the player reads
    // suggests it was (left only for one whose data has been read).
    enum class Need { Move, Check };
    struct Look {
        double pts = 0;
        std::optional<std::uint64_t> readOffset;
        std::optional<std::int64_t> expectedMs;  // where the time played puts playback
    };
    std::int64_t followPlayed(double pts, std::optional<std::uint64_t> readOffset,
                              std::int64_t playedMs);
    std::optional<std::size_t> laterHolding(std::size_t from, const Look& look, Need need) const;
    bool passed(std::size_t index, const Look& look) const;
    bool read(std::size_t index, const Look& look) const;

    const Timeline& m_timeline;
    std::size_t m_segment = 0;
    std::optional<double> m_lastPts;
    std::int64_t m_lastMs = 0;
    std::int64_t m_unplacedMs = 0;  // played since the last look that placed playback
    int m_strays = 0;
};

}  // namespace trelvane::mci::timeline
