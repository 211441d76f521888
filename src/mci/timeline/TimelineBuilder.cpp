#include "mci/timeline/TimelineBuilder.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "mci/timeline/StretchEdges.h"

namespace trelvane::mci::timeline {
namespace {

constexpr std::uint64_t kSectorBytes = 2048;
// A disc's program stream is delivered at 10.08 Mbit/s at most, so its clock
// advances at least this much per byte. Other program streams may be muxed
// faster; twice their usual rate covers their bursts.
constexpr double kDiscMuxBytesPerSecond = 10.08e6 / 8;
constexpr double kBurstFactor = 2;
// A quiet stretch (a still, a pause in the sound) lets the clock run ahead of
// the usual rate of the file; this many times slower is still plausible.
constexpr double kQuietFactor = 4;
// Clocks that step back by less than this are jitter, not a restart.
constexpr double kBackwardSlack = 0.05;
// Consecutive packs carry clocks at most 0.7 s apart; more is a leap.
constexpr double kLongestPackGap = 1.0;
// Without a usual rate to go by: no stream is slower than this.
constexpr double kSlowestBytesPerSecond = 32'000;

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace

std::optional<Timeline> TimelineBuilder::build() {
    m_boundaries.clear();
    m_seen.clear();
    m_reads = m_farReads = 0;
    m_lastReadEnd.reset();

    std::vector<Pack> endRun;
    const std::vector<Pack> samples = coarsePass(endRun);
    if (samples.size() < 2) {
        return std::nullopt;
    }
    learnRates(samples);
    // Gaps in the order of their offsets, so that the reads move on through
    // the file rather than to and fro.
    for (std::size_t i = 1; i < samples.size(); ++i) {
        resolve(samples[i - 1], samples[i]);
    }
    const std::uint64_t lastStart = m_boundaries.back().offset;
    for (Pack& pack : endRun) {
        if (pack.offset >= lastStart) {
            m_boundaries.back().endRun.push_back(std::move(pack));
        }
    }
    std::vector<Segment> built = segments();
    if (built.empty()) {
        return std::nullopt;
    }
    return Timeline(std::move(built));
}

std::optional<Pack> TimelineBuilder::read(std::uint64_t offset, std::uint64_t searchBytes) {
    ++m_reads;
    const auto distance = [](std::uint64_t a, std::uint64_t b) { return a > b ? a - b : b - a; };
    if (!m_lastReadEnd || distance(offset, *m_lastReadEnd) > kNearBytes) {
        ++m_farReads;
    }
    auto pack = m_reader.packAt(offset, searchBytes);
    m_lastReadEnd = pack ? pack->offset + pack->length : offset;
    if (pack) {
        m_seen.push_back(*pack);
    }
    return pack;
}

std::vector<Pack> TimelineBuilder::readRun(std::uint64_t from, std::uint64_t until, int most) {
    std::vector<Pack> run;
    for (std::uint64_t offset = from; offset < until && static_cast<int>(run.size()) < most;) {
        auto pack = read(offset);
        if (!pack || pack->offset >= until) {
            break;
        }
        offset = pack->offset + std::max<std::uint64_t>(pack->length, 1);
        run.push_back(std::move(*pack));
    }
    return run;
}

std::vector<Pack> TimelineBuilder::coarsePass(std::vector<Pack>& endRun) {
    const std::uint64_t size = m_reader.size();
    const std::uint64_t step = std::max(
        kSectorBytes, (size / kCoarseSamples + kSectorBytes - 1) / kSectorBytes * kSectorBytes);
    std::vector<Pack> samples;
    for (std::uint64_t offset = 0; offset < size; offset += step) {
        auto pack = read(offset);
        if (!pack || (!samples.empty() && pack->offset <= samples.back().offset)) {
            continue;
        }
        if (samples.empty()) {
            Boundary first{pack->offset, {}, {}};
            first.startRun =
                readRun(pack->offset, size, StretchEdges::kEdgePacks);  // right behind it
            m_boundaries.push_back(std::move(first));
        }
        samples.push_back(std::move(*pack));
    }
    if (samples.empty()) {
        return samples;
    }
    // The end of the file closes the last gap, so that a restart there is
    // seen like any other.
    const std::uint64_t tail =
        size > StretchEdges::kEdgeBytes ? size - StretchEdges::kEdgeBytes : 0;
    endRun = readRun(std::max(tail, samples.front().offset), size, std::numeric_limits<int>::max());
    if (!endRun.empty() && endRun.back().offset > samples.back().offset) {
        samples.push_back(endRun.back());
    }
    return samples;
}

void TimelineBuilder::learnRates(const std::vector<Pack>& samples) {
    std::vector<double> bytesPerSecond;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const double advance = samples[i].scrSeconds - samples[i - 1].scrSeconds;
        if (advance > 0) {
            bytesPerSecond.push_back(
                static_cast<double>(samples[i].offset - samples[i - 1].offset) / advance);
        }
    }
    const double usual = bytesPerSecond.empty() ? 0 : median(bytesPerSecond);
    m_leastSecondsPerByte = 1 / std::max(kDiscMuxBytesPerSecond, kBurstFactor * usual);
    m_mostSecondsPerByte = usual > 0 ? kQuietFactor / usual : 1 / kSlowestBytesPerSecond;
}

bool TimelineBuilder::runsOn(const Pack& before, const Pack& after) const {
    const auto bytes = static_cast<double>(after.offset - before.offset);
    const double advance = after.scrSeconds - before.scrSeconds;
    return advance >= bytes * m_leastSecondsPerByte - kBackwardSlack &&
           advance <= kLongestPackGap + bytes * m_mostSecondsPerByte;
}

void TimelineBuilder::resolve(const Pack& before, const Pack& after) {
    if (runsOn(before, after)) {
        return;
    }
    if (const auto middle = between(before, after)) {
        resolve(before, *middle);
        resolve(*middle, after);
        return;
    }
    restartAt(after.offset);  // neighbours that disagree: the clock restarts here
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

void TimelineBuilder::restartAt(std::uint64_t offset) {
    // The packs on either side are read now, while the drive is here.
    Boundary& previous = m_boundaries.back();
    const std::uint64_t from =
        offset > StretchEdges::kEdgeBytes ? offset - StretchEdges::kEdgeBytes : 0;
    previous.endRun =
        readRun(std::max(from, previous.offset), offset, std::numeric_limits<int>::max());
    Boundary next{offset, readRun(offset, m_reader.size(), StretchEdges::kEdgePacks), {}};
    m_boundaries.push_back(std::move(next));
}

std::vector<Segment> TimelineBuilder::segments() const {
    std::vector<Pack> seen = m_seen;
    std::sort(seen.begin(), seen.end(),
              [](const Pack& a, const Pack& b) { return a.offset < b.offset; });
    std::vector<Segment> built;
    for (std::size_t i = 0; i < m_boundaries.size(); ++i) {
        const Boundary& boundary = m_boundaries[i];
        const std::uint64_t end =
            i + 1 < m_boundaries.size() ? m_boundaries[i + 1].offset : m_reader.size();
        const auto first = StretchEdges::firstStamp(boundary.startRun, end);
        const auto last = StretchEdges::endStamp(boundary.endRun);
        if (!first || !last || !(*last > *first)) {
            continue;
        }
        Segment segment{boundary.offset, end, *first, *last, 0, {}};
        for (const Pack& pack : seen) {
            const bool inside = pack.offset >= boundary.offset && pack.offset < end;
            if (inside &&
                (segment.samples.empty() || pack.offset > segment.samples.back().offset)) {
                segment.samples.push_back({pack.offset, pack.scrSeconds});
            }
        }
        built.push_back(std::move(segment));
    }
    return built;
}

}  // namespace trelvane::mci::timeline
