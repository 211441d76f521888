#include "mci/timeline/TimelineBuilder.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "mci/timeline/StretchEdges.h"

namespace trelvane::mci::timeline {
namespace {

constexpr std::uint64_t kSectorBytes = 2048;
// How far from each sample of the coarse pass a neighbour is read to learn
// the local rate of the clock: near enough to cost no seek.
constexpr std::uint64_t kRateBytes = 192 * 1024;
// How far either side of a guessed restart two packs are read.
constexpr std::uint64_t kGuessReach = 96 * 1024;
// Gaps up to this size are swept a step at a time rather than halved.
constexpr std::uint64_t kSweepBytes = 8 * 1024 * 1024;
constexpr std::uint64_t kSweepStep = 192 * 1024;
constexpr int kWholeRun = std::numeric_limits<int>::max();
// What the runs either side of a restart read, and a little for finding it.
constexpr std::uint64_t kRestartBytes = 2 * StretchEdges::kEdgeBytes + 256 * 1024;

std::uint64_t roundUp(std::uint64_t bytes) {
    return (bytes + kSectorBytes - 1) / kSectorBytes * kSectorBytes;
}

}  // namespace

std::optional<Timeline> TimelineBuilder::build() {
    m_boundaries.clear();
    m_edges.clear();
    m_judged.clear();
    m_seen.clear();
    m_looks = 0;
    m_bytes = 0;

    std::uint64_t spacing = std::max(kSectorBytes, roundUp(m_reader.size() / kCoarseSamples));
    std::vector<Pack> samples = coarsePass(spacing);
    if (samples.size() < 2) {
        return std::nullopt;
    }
    m_bounds.learn(samples, 2 * kRateBytes);
    if (m_bounds.clockIsNoise()) {
        return std::nullopt;
    }
    for (;;) {
        // Gaps in the order of their offsets, so that the reads move on
        // through the file rather than to and fro.
        for (std::size_t i = 1; i < samples.size(); ++i) {
            resolve(samples[i - 1], samples[i]);
        }
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

std::vector<Pack> TimelineBuilder::coarsePass(std::uint64_t spacing) {
    const std::uint64_t size = m_reader.size();
    std::vector<Pack> samples;
    for (std::uint64_t offset = 0; offset < size; offset += spacing) {
        auto pack = read(offset);
        if (!pack || (!samples.empty() && pack->offset <= samples.back().offset)) {
            continue;
        }
        const std::uint64_t at = pack->offset;
        samples.push_back(std::move(*pack));
        if (samples.size() == 1) {  // the start of the first stretch, right behind it
            auto& run = m_boundaries[at].startRun;
            run = readRun(at, size, StretchEdges::kEdgePacks);
            if (!run.empty() && run.back().offset > at) {
                samples.push_back(run.back());
            }
        } else if (auto neighbour = read(at + kRateBytes);
                   neighbour && neighbour->offset > at && neighbour->offset < offset + spacing) {
            samples.push_back(std::move(*neighbour));  // near: no seek of its own
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

std::vector<Pack> TimelineBuilder::finerPass(const std::vector<Pack>& samples,
                                             std::uint64_t spacing) {
    const auto byOffset = [](const Pack& a, const Pack& b) { return a.offset < b.offset; };
    const auto sameOffset = [](const Pack& a, const Pack& b) { return a.offset == b.offset; };
    std::vector<Pack> known = samples;  // no gap may hide a restart already found
    known.insert(known.end(), m_edges.begin(), m_edges.end());
    std::sort(known.begin(), known.end(), byOffset);
    known.erase(std::unique(known.begin(), known.end(), sameOffset), known.end());
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
    std::sort(finer.begin(), finer.end(), byOffset);
    finer.erase(std::unique(finer.begin(), finer.end(), sameOffset), finer.end());
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

void TimelineBuilder::resolve(const Pack& before, const Pack& after) {
    if (!m_judged.emplace(before.offset, after.offset).second ||
        (m_bounds.runsOn(before, after) && !m_bounds.mayLeap(before, after))) {
        return;
    }
    if (const auto guess = guessRestart(before, after)) {
        // Two packs either side of the guess, near each other: one seek when
        // the guess is good, and the gap split no worse than halving when not.
        auto low = read(*guess - kGuessReach, *guess - before.offset);
        auto high = low ? read(*guess + kGuessReach, after.offset - *guess) : std::nullopt;
        if (high && low->offset > before.offset && low->offset < high->offset &&
            high->offset < after.offset) {
            // The gap between the two first, while the drive is there.
            resolve(*low, *high);
            resolve(before, *low);
            resolve(*high, after);
            return;
        }
    }
    const std::uint64_t gap = after.offset - before.offset;
    if (gap > kNearBytes && gap <= kSweepBytes && sweep(before, after)) {
        return;
    }
    if (const auto middle = between(before, after)) {
        resolve(before, *middle);
        resolve(*middle, after);
        return;
    }
    restartAt(before, after);  // neighbours that disagree: the clock restarts here
}

bool TimelineBuilder::sweep(const Pack& before, const Pack& after) {
    // Packs a near read apart, forwards through the gap: a drive passes over
    // what lies between without a seek, where halving would seek at each
    // step until the halves came within a near read.
    std::vector<Pack> found;
    for (std::uint64_t at = before.offset + kSweepStep; at + kSweepStep / 2 < after.offset;
         at += kSweepStep) {
        if (auto pack = read(at); pack && pack->offset < after.offset &&
                                  (found.empty() ? before : found.back()).offset < pack->offset) {
            found.push_back(std::move(*pack));
        }
    }
    if (found.empty()) {
        return false;
    }
    resolve(before, found.front());
    for (std::size_t i = 1; i < found.size(); ++i) {
        resolve(found[i - 1], found[i]);
    }
    resolve(found.back(), after);
    return true;
}

std::optional<std::uint64_t> TimelineBuilder::guessRestart(const Pack& before,
                                                           const Pack& after) const {
    // Joined parts restart their clocks where the part before began: going
    // back from `after` at the usual rate to that clock finds the join.
    // Cells of a recording restart where the first one began, which after
    // a leap ahead is no longer where the stretch before began: both are
    // tried.
    const auto bytes = static_cast<double>(after.offset - before.offset);
    if (m_bounds.usualBytesPerSecond() <= 0 || !m_bounds.stepsBack(before, after)) {
        return std::nullopt;  // no rate to go by, or a leap ahead
    }
    const Boundary& first = m_boundaries.begin()->second;
    const Boundary& stretch = std::prev(m_boundaries.upper_bound(before.offset))->second;
    for (const Boundary* start : {&first, &stretch}) {
        if (start->startRun.empty()) {
            continue;
        }
        const double elapsed = after.scrSeconds - start->startRun.front().scrSeconds;
        const double back = elapsed * m_bounds.usualBytesPerSecond();
        if (elapsed > 0 && back < bytes - 4.0 * kGuessReach && back > 2.0 * kGuessReach) {
            return after.offset - static_cast<std::uint64_t>(back);
        }
    }
    return std::nullopt;
}

std::optional<Pack> TimelineBuilder::between(const Pack& before, const Pack& after) {
    if (before.offset + before.length >= after.offset) {
        return std::nullopt;
    }
    auto middle =
        read(before.offset + (after.offset - before.offset) / 2, after.offset - before.offset);
    if (!middle || middle->offset <= before.offset || middle->offset >= after.offset) {
        return std::nullopt;
    }
    return middle;
}

void TimelineBuilder::restartAt(const Pack& before, const Pack& first) {
    const std::uint64_t offset = first.offset;
    if (m_boundaries.count(offset) != 0 || overBudget()) {
        return;
    }
    // The packs on either side are read now, while the drive is here: they
    // end the stretch before, start this one, and witness whether the sound
    // and pictures break here too. Where they run on, only the pack clock
    // broke, and the stretch goes on.
    const auto previous = std::prev(m_boundaries.upper_bound(offset));
    const std::uint64_t from =
        offset > StretchEdges::kEdgeBytes ? offset - StretchEdges::kEdgeBytes : 0;
    std::vector<Pack> endRun =
        readRun(std::max(from, previous->first), offset + StretchEdges::kEdgeBytes, kWholeRun);
    const auto split = std::find_if(endRun.begin(), endRun.end(),
                                    [offset](const Pack& pack) { return pack.offset >= offset; });
    std::vector<Pack> startRun(std::make_move_iterator(split),
                               std::make_move_iterator(endRun.end()));
    endRun.erase(split, endRun.end());
    if (startRun.size() < static_cast<std::size_t>(StretchEdges::kEdgePacks)) {
        // A run cut short: the rest of the start pack by pack.
        const std::uint64_t next =
            startRun.empty()
                ? offset
                : startRun.back().offset + std::max<std::uint64_t>(startRun.back().length, 1);
        std::vector<Pack> rest = readRun(
            next, m_reader.size(), StretchEdges::kEdgePacks - static_cast<int>(startRun.size()));
        startRun.insert(startRun.end(), std::make_move_iterator(rest.begin()),
                        std::make_move_iterator(rest.end()));
    }
    if (StretchEdges::stampsRunOn(endRun, startRun)) {
        return;
    }
    m_edges.push_back(before);
    m_edges.push_back(first);
    // The stretch this one splits keeps its start; its end is now this one's.
    Boundary boundary;
    for (Pack& pack : previous->second.endRun) {
        if (pack.offset >= offset) {
            boundary.endRun.push_back(std::move(pack));
        }
    }
    previous->second.endRun = std::move(endRun);
    boundary.startRun = std::move(startRun);
    m_boundaries.emplace(offset, std::move(boundary));
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
