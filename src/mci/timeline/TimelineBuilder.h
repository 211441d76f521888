#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "mci/timeline/ClockBounds.h"
#include "mci/timeline/PackReader.h"
#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// Builds the continuous timeline of a program stream from the clocks of its
// packs, reading as little as a disc drive can afford: a coarse pass of a few
// dozen packs spread over the file, then halving only the gaps over which the
// clock does not advance as the bytes between two packs allow, down to the
// exact pack at which it restarts (joined cells, the second file of a title)
// or leaps ahead. The reads grow with the number of restarts, not with the
// size of the file. Where the restarts come closer together than the coarse
// samples, the file is sampled again at half the usual stretch apart, since
// several restarts between two samples can hide one another.
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
    // The packs read at the start of a stretch and before the next one.
    struct Boundary {
        std::vector<Pack> startRun;
        std::vector<Pack> endRun;
    };

    std::optional<Pack> read(std::uint64_t offset, std::uint64_t searchBytes = 16384);
    void note(std::uint64_t start, std::uint64_t end);
    std::vector<Pack> readRun(std::uint64_t from, std::uint64_t until, int most);
    std::vector<Pack> coarsePass(std::uint64_t spacing);
    std::vector<Pack> finerPass(const std::vector<Pack>& samples, std::uint64_t spacing);
    std::uint64_t finerSpacing() const;
    void resolve(const Pack& before, const Pack& after);
    std::optional<Pack> between(const Pack& before, const Pack& after);
    std::optional<std::uint64_t> guessRestart(const Pack& before, const Pack& after) const;
    void restartAt(const Pack& before, const Pack& first);
    std::vector<Segment> segments() const;

    const PackReader& m_reader;
    ClockBounds m_bounds;
    std::map<std::uint64_t, Boundary> m_boundaries;  // by where each stretch starts
    std::vector<Pack> m_edges;                       // the two packs either side of each restart
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_judged;
    std::vector<ClockSample> m_seen;  // every pack read, for the stretches' samples
    int m_reads = 0;
    int m_farReads = 0;
    std::optional<std::uint64_t> m_lastReadEnd;
};

}  // namespace trelvane::mci::timeline
