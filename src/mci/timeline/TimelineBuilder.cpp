#include "mci/timeline/TimelineBuilder.h"

#include <algorithm>
#include <limits>

#include "mci/timeline/StretchEdges.h"

namespace trelvane::mci::timeline {
namespace {

constexpr std::uint64_t kSectorBytes = 2048;
// How far from each sample of the coarse pass a neighbour is read to learn
// the local rate of the clock: near enough to cost no seek.
constexpr std::uint64_t kRateBytes = 192 * 1024;
// What the runs either side of a restart read, and a little for finding it.
constexpr std::uint64_t kRestartBytes = 2 * StretchEdges::kEdgeBytes + 256 * 1024;

std::uint64_t roundUp(std::uint64_t bytes) {
    return (bytes + kSectorBytes - 1) / kSectorBytes * kSectorBytes;
}

void sortByOffset(std::vector<Pack>& packs) {
    const auto byOffset = [](const Pack& a, const Pack& b) { return a.offset < b.offset; };
    const auto sameOffset = [](const Pack& a, const Pack& b) { return a.offset == b.offset; };
    std::stable_sort(packs.begin(), packs.end(), byOffset);
    packs.erase(std::unique(packs.begin(), packs.end(), sameOffset), packs.end());
}

}  // namespace

std::optional<Timeline> TimelineBuilder::build() {
    m_boundaries.clear();
    m_edges.clear();
    m_ranOn.clear();
    m_judged.clear();
    m_seen.clear();
    m_looks = 0;
    m_bytes = 0;

    const std::uint64_t coarse = std::max(kSectorBytes, roundUp(m_reader.size() / kCoarseSamples));
    int levels = levelsAbove(coarse);
    std::uint64_t spacing = coarse << levels;
    std::vector<Pack> samples = coarsePass(spacing);
    if (samples.size() < 2) {
        return std::nullopt;
    }
    m_bounds.learn(samples, 2 * kRateBytes);
    for (; levels > 0; --levels) {
        // Clocks that may be noise are searched nowhere before the full
        // coarse pass has judged them.
        if (!m_bounds.clockMayBeNoise()) {
            resolveAll(withBreaks(samples));
        }
        spacing /= 2;
        samples = refine(samples, spacing);
        m_bounds.learn(samples, 2 * kRateBytes);
    }
    if (m_bounds.clockIsNoise()) {
        return std::nullopt;
    }
    samples = withBreaks(samples);
    for (;;) {
        resolveAll(samples);
        const std::uint64_t finer = finerSpacing();
        if (finer >= spacing) {
            break;
        }
        spacing = finer;
        samples = finerPass(samples, spacing);
    }
    if (overBudget()) {
        return std::nullopt;
    }
    std::vector<Segment> built = segments();
    if (built.empty()) {
        return std::nullopt;
    }
    return Timeline(std::move(built));
}

std::optional<Pack> TimelineBuilder::read(std::uint64_t offset, std::uint64_t searchBytes) {
    if (overBudget()) {
        return std::nullopt;
    }
    ++m_looks;
    auto pack = m_reader.packAt(offset, searchBytes);
    m_bytes += pack ? pack->offset + pack->length - offset : searchBytes;
    if (pack) {
        m_seen.push_back({pack->offset, pack->scrSeconds});
    }
    return pack;
}

bool TimelineBuilder::overBudget() const {
    // Past it the build reads no more and ends without a timeline. Restarts
    // found earn their reads: a file of many cells may need them all.
    const auto restarts = static_cast<int>(m_boundaries.size());
    return m_looks > kBudgetLooks + kLooksPerRestart * restarts ||
           m_bytes > m_reader.size() + static_cast<std::uint64_t>(restarts) * kRestartBytes;
}

std::vector<Pack> TimelineBuilder::readRun(std::uint64_t from, std::uint64_t until, int most) {
    // One read for the lot, as a drive reads on; pack by pack only where a
    // pack runs past it.
    if (overBudget()) {
        return {};
    }
    ++m_looks;
    std::vector<Pack> run = m_reader.packsFrom(from, until, static_cast<std::size_t>(most));
    m_bytes += run.empty() ? 0 : run.back().offset + run.back().length - from;
    for (const Pack& pack : run) {
        m_seen.push_back({pack.offset, pack.scrSeconds});
    }
    std::uint64_t offset =
        run.empty() ? from : run.back().offset + std::max<std::uint64_t>(run.back().length, 1);
    while (offset < until && static_cast<int>(run.size()) < most) {
        auto pack = read(offset);
        if (!pack || pack->offset >= until) {
            break;
        }
        offset = pack->offset + std::max<std::uint64_t>(pack->length, 1);
        run.push_back(std::move(*pack));
    }
    return run;
}

void TimelineBuilder::resolveAll(const std::vector<Pack>& samples) {
    // Gaps in the order of their offsets, so that the reads move on through
    // the file rather than to and fro.
    for (std::size_t i = 1; i < samples.size(); ++i) {
        resolve(samples[i - 1], samples[i]);
    }
}

void TimelineBuilder::sampleNear(std::uint64_t offset, std::uint64_t spacing,
                                 std::vector<Pack>& samples) {
    auto pack = read(offset);
    if (!pack || (!samples.empty() && pack->offset <= samples.back().offset)) {
        return;
    }
    const std::uint64_t at = pack->offset;
    samples.push_back(std::move(*pack));
    if (auto neighbour = read(at + kRateBytes);
        neighbour && neighbour->offset > at && neighbour->offset < offset + spacing) {
        samples.push_back(std::move(*neighbour));  // near: no seek of its own
    }
}

std::vector<Pack> TimelineBuilder::coarsePass(std::uint64_t spacing) {
    const std::uint64_t size = m_reader.size();
    std::vector<Pack> samples;
    for (std::uint64_t offset = 0; offset < size; offset += spacing) {
        if (!samples.empty()) {
            sampleNear(offset, spacing, samples);
            continue;
        }
        auto pack = read(offset);
        if (!pack) {
            continue;
        }
        // The start of the first stretch, right behind it.
        const std::uint64_t at = pack->offset;
        samples.push_back(std::move(*pack));
        auto& run = m_boundaries[at].startRun;
        run = readRun(at, size, StretchEdges::kEdgePacks);
        if (!run.empty() && run.back().offset > at) {
            samples.push_back(run.back());
        }
    }
    if (samples.empty()) {
        return samples;
    }
    // The end of the file closes the last gap, so that a restart there is
    // seen like any other.
    const std::uint64_t tail =
        size > StretchEdges::kEdgeBytes ? size - StretchEdges::kEdgeBytes : 0;
    std::vector<Pack>& endRun = m_boundaries.begin()->second.endRun;
    endRun = readRun(std::max(tail, samples.front().offset), size, kWholeRun);
    if (!endRun.empty() && endRun.back().offset > samples.back().offset) {
        samples.push_back(endRun.back());
    }
    return samples;
}

int TimelineBuilder::levelsAbove(std::uint64_t spacing) const {
    int levels = 0;
    while (levels < kMostLevels && spacing >= kLeveledSpacing &&
           (spacing << (levels + 1)) * kFewestLevelSamples <= m_reader.size()) {
        ++levels;
    }
    return levels;
}

std::vector<Pack> TimelineBuilder::refine(const std::vector<Pack>& samples, std::uint64_t spacing) {
    // The places halfway between the samples so far, but where a search has
    // read near one: the gap around it was judged down to its packs then.
    std::vector<Pack> finer = samples;
    for (std::uint64_t offset = spacing; offset < m_reader.size(); offset += 2 * spacing) {
        if (!seenNear(offset, spacing / 2)) {
            std::vector<Pack> found;
            sampleNear(offset, spacing, found);
            finer.insert(finer.end(), found.begin(), found.end());
        }
    }
    sortByOffset(finer);
    return finer;
}

bool TimelineBuilder::seenNear(std::uint64_t offset, std::uint64_t reach) const {
    return std::any_of(m_seen.begin(), m_seen.end(), [&](const ClockSample& seen) {
        return (seen.offset > offset ? seen.offset - offset : offset - seen.offset) <= reach;
    });
}

std::vector<Pack> TimelineBuilder::withBreaks(const std::vector<Pack>& samples) const {
    // No gap may hide a break already found: it would be searched again.
    std::vector<Pack> known = samples;
    known.insert(known.end(), m_edges.begin(), m_edges.end());
    known.insert(known.end(), m_ranOn.begin(), m_ranOn.end());
    sortByOffset(known);
    return known;
}

std::vector<Pack> TimelineBuilder::finerPass(const std::vector<Pack>& samples,
                                             std::uint64_t spacing) {
    std::vector<Pack> known = samples;  // no gap may hide a restart already found
    known.insert(known.end(), m_edges.begin(), m_edges.end());
    sortByOffset(known);
    std::vector<Pack> finer = known;
    for (std::size_t i = 1; i < known.size(); ++i) {
        // A gap over which the clock advances just as the usual rate would
        // have it hides nothing the samples could find but a step back and a
        // leap that cancel out, which no spacing finds for sure: it costs no
        // seeks. A join of many like parts is all such gaps once its
        // restarts are found.
        const Pack& before = known[i - 1];
        const std::uint64_t end = known[i].offset;
        if (m_bounds.runsSteadily(before, known[i])) {
            continue;
        }
        for (std::uint64_t at = before.offset + spacing; at + spacing / 2 < end; at += spacing) {
            if (auto pack = read(at); pack && pack->offset < end) {
                finer.push_back(std::move(*pack));
            }
        }
    }
    sortByOffset(finer);
    return finer;
}

std::uint64_t TimelineBuilder::finerSpacing() const {
    // Half the middle length of the stretches found; samples closer than a
    // near read would cost as much as reading everything between them.
    if (m_boundaries.size() < 2) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    std::vector<double> lengths;
    for (auto it = m_boundaries.begin(); it != m_boundaries.end(); ++it) {
        const auto next = std::next(it);
        const std::uint64_t end = next == m_boundaries.end() ? m_reader.size() : next->first;
        lengths.push_back(static_cast<double>(end - it->first));
    }
    const auto middle = lengths.begin() + static_cast<std::ptrdiff_t>(lengths.size() / 2);
    std::nth_element(lengths.begin(), middle, lengths.end());
    const auto half = static_cast<std::uint64_t>(*middle / 2);
    return std::max(kNearBytes, half - half % kSectorBytes);
}

std::vector<Segment> TimelineBuilder::segments() const {
    std::vector<ClockSample> seen = m_seen;
    std::sort(seen.begin(), seen.end(),
              [](const ClockSample& a, const ClockSample& b) { return a.offset < b.offset; });
    std::vector<Segment> built;
    for (auto it = m_boundaries.begin(); it != m_boundaries.end(); ++it) {
        const auto next = std::next(it);
        const std::uint64_t start = it->first;
        const std::uint64_t end = next == m_boundaries.end() ? m_reader.size() : next->first;
        const auto first = StretchEdges::firstStamp(it->second.startRun, end);
        const auto last = StretchEdges::endStamp(it->second.endRun);
        if (!first || !last || !(*last > *first)) {
            continue;
        }
        Segment segment{start, end, *first, *last, 0, {}};
        const auto byOffset = [](const ClockSample& a, std::uint64_t b) { return a.offset < b; };
        for (auto at = std::lower_bound(seen.begin(), seen.end(), start, byOffset);
             at != seen.end() && at->offset < end; ++at) {
            if (segment.samples.empty() || at->offset > segment.samples.back().offset) {
                segment.samples.push_back(*at);
            }
        }
        built.push_back(std::move(segment));
    }
    return built;
}

}  // namespace trelvane::mci::timeline
