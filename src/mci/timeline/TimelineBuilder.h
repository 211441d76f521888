#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "mci/timeline/PackReader.h"
#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// Builds the continuous timeline of a program stream from the clocks of its
// packs, reading as little as a disc drive can afford: a coarse pass of a few
// dozen packs spread over the file, then halving only the gaps over which the
// clock does not advance as the bytes between two packs allow, down to the
// exact pack at which it restarts (joined cells, the second file of a title)
// or leaps ahead. The reads grow with the number of restarts, not with the
// size of the file.
//
// A gap whose clock looks plausible is not read into, so a restart can go
// unseen there: one that steps back by less than the gap's bytes allow for,
// or a step back and a leap ahead that cancel out inside one gap.
class TimelineBuilder {
public:
    // Samples of the coarse pass.
    static constexpr int kCoarseSamples = 32;
    // A read that starts further than this from where the one before ended
    // costs a seek on a disk or disc.
    static constexpr std::uint64_t kNearBytes = 256 * 1024;

    explicit TimelineBuilder(const PackReader& reader) : m_reader(reader) {}

    // nullopt when the file carries no usable clock: too few packs, or no
    // sound or picture stamps to measure a stretch by.
    std::optional<Timeline> build();

    // Of the last build: how many packs it looked for, and how many of those
    // looks started far from where the look before ended.
    int reads() const { return m_reads; }
    int farReads() const { return m_farReads; }

private:
    // Where a stretch starts, and the packs read from there on.
    struct Boundary {
        std::uint64_t offset = 0;
        std::vector<Pack> startRun;
        std::vector<Pack> endRun;  // the packs before the next boundary
    };

    std::optional<Pack> read(std::uint64_t offset, std::uint64_t searchBytes = 16384);
    std::vector<Pack> readRun(std::uint64_t from, std::uint64_t until, int most);
    std::vector<Pack> coarsePass(std::vector<Pack>& endRun);
    void learnRates(const std::vector<Pack>& samples);
    bool runsOn(const Pack& before, const Pack& after) const;
    void resolve(const Pack& before, const Pack& after);
    std::optional<Pack> between(const Pack& before, const Pack& after);
    void restartAt(std::uint64_t offset);
    std::vector<Segment> segments() const;

    const PackReader& m_reader;
    double m_leastSecondsPerByte = 0;
    double m_mostSecondsPerByte = 0;
    std::vector<Boundary> m_boundaries;
    std::vector<Pack> m_seen;
    int m_reads = 0;
    int m_farReads = 0;
    std::optional<std::uint64_t> m_lastReadEnd;
};

}  // namespace trelvane::mci::timeline
