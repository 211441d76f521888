#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "mci/timeline/ClockBounds.h"
#include "mci/timeline/PackSource.h"
#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// Builds the continuous timeline of a program stream from the clocks of its
// packs, reading as little as a disc drive can afford: a coarse pass of a few
// dozen packs spread over the file, then halving only the gaps over which the
// clock does not advance as the bytes between two packs allow, down to the
// exact pack at which it restarts (joined cells, the second file of a title)
// or leaps ahead. The reads grow with the number of restarts, not with the
// size of the file. Where the restarts come closer together than the coarse
// samples, the gaps whose clock does not run steadily at the usual rate are
// sampled again at half the usual stretch apart, since several restarts
// between two samples can hide one another. Gaps of a few megabytes are
// swept forwards a near read at a time rather than halved by seeks.
//
// A gap is also read into where its clock advances much more than the rates
// seen on both its sides allow, as a leap ahead does, however plausible it
// would be for a quiet stretch. Where the clock breaks, the stamps of the
// sound and pictures on both sides are the second witness: a restart counts
// only where they break too. A file whose pack clocks mostly disagree with
// its stamps, or whose breaks cost more reads than the budget allows, gets no
// timeline: the player's own clock serves it better than a guess.
//
// A file of hundreds of megabytes is sampled a few times more sparsely first
// and its gaps searched before the samples between are read, and those only
// where no search came near: the joins of many parts are each found where
// the part before says it ends, which also tells the clock of the places
// between. A file without breaks reads the same samples, in another order.
//
// A gap whose clock looks plausible is not read into, so a restart can go
// unseen there: one that steps back by less than the gap's bytes allow for,
// or a step back and a leap ahead that cancel out inside one gap.
class TimelineBuilder {
public:
    // Samples of the coarse pass.
    static constexpr int kCoarseSamples = 32;
    // Samples closer than this cost as much as reading everything between.
    static constexpr std::uint64_t kNearBytes = 256 * 1024;
    // Looks a build may take: this many for the coarse pass and the breaks
    // that turn out not to be restarts, and more for each restart found.
    static constexpr int kBudgetLooks = 64 * kCoarseSamples;
    static constexpr int kLooksPerRestart = 24;
    // Sparser passes come first where the coarse samples lie at least this
    // far apart, up to this many, each with at least this many samples.
    static constexpr std::uint64_t kLeveledSpacing = 8 * 1024 * 1024;
    static constexpr int kMostLevels = 3;
    static constexpr int kFewestLevelSamples = 4;

    explicit TimelineBuilder(const PackSource& reader) : m_reader(reader) {}

    // nullopt when the file carries no usable clock: too few packs, no sound
    // or picture stamps to measure a stretch by, pack clocks that disagree
    // with the stamps, or more reads than the budget.
    std::optional<Timeline> build();

private:
    static constexpr int kWholeRun = std::numeric_limits<int>::max();

    // The packs read at the start of a stretch and before the next one.
    struct Boundary {
        std::vector<Pack> startRun;
        std::vector<Pack> endRun;
    };

    std::optional<Pack> read(std::uint64_t offset, std::uint64_t searchBytes = 16384);
    bool overBudget() const;
    std::vector<Pack> readRun(std::uint64_t from, std::uint64_t until, int most);
    std::vector<Pack> coarsePass(std::uint64_t spacing);
    void sampleNear(std::uint64_t offset, std::uint64_t spacing, std::vector<Pack>& samples);
    int levelsAbove(std::uint64_t spacing) const;
    std::vector<Pack> refine(const std::vector<Pack>& samples, std::uint64_t spacing);
    bool seenNear(std::uint64_t offset, std::uint64_t reach) const;
    std::vector<Pack> withBreaks(const std::vector<Pack>& samples) const;
    void resolveAll(const std::vector<Pack>& samples);
    std::vector<Pack> finerPass(const std::vector<Pack>& samples, std::uint64_t spacing);
    std::uint64_t finerSpacing() const;
    void resolve(const Pack& before, const Pack& after);
    std::optional<Pack> between(const Pack& before, const Pack& after);
    bool sweep(const Pack& before, const Pack& after);
    std::optional<std::uint64_t> guessRestart(const Pack& before, const Pack& after) const;
    void restartAt(const Pack& before, const Pack& first);
    std::vector<Segment> segments() const;

    const PackSource& m_reader;
    ClockBounds m_bounds;
    std::map<std::uint64_t, Boundary> m_boundaries;  // by where each stretch starts
    std::vector<Pack> m_edges;                       // the two packs either side of each restart
    std::vector<Pack> m_ranOn;  // the same of each break that the stamps ran on over
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_judged;
    std::vector<ClockSample> m_seen;  // every pack read, for the stretches' samples
    int m_looks = 0;
    std::uint64_t m_bytes = 0;
};

}  // namespace trelvane::mci::timeline
