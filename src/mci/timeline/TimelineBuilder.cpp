#include "mci/timeline/TimelineBuilder.h"

#include <algorithm>
#include <map>

namespace trelvane::mci::timeline {
namespace {

constexpr std::uint64_t kSectorBytes = 2048;
constexpr std::uint64_t kMostSamples = 4096;
// Packs read at each end of a stretch to find its first and last stamps.
constexpr int kEdgePacks = 64;
// Clocks that step back by less than this are jitter, not a restart.
constexpr double kBackwardSlack = 0.05;
// Consecutive packs must carry clocks at most 0.7 s apart; more is a leap.
constexpr double kLongestPackGap = 1.0;
constexpr double kLongestFrame = 0.2;

double secondsPerByte(const Pack& a, const Pack& b) {
    return (b.scrSeconds - a.scrSeconds) / static_cast<double>(b.offset - a.offset);
}

double typicalSecondsPerByte(const std::vector<Pack>& samples) {
    std::vector<double> rates;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i].scrSeconds > samples[i - 1].scrSeconds) {
            rates.push_back(secondsPerByte(samples[i - 1], samples[i]));
        }
    }
    if (rates.empty()) {
        return 0;
    }
    std::nth_element(rates.begin(), rates.begin() + rates.size() / 2, rates.end());
    return rates[rates.size() / 2];
}

}  // namespace

std::optional<Timeline> TimelineBuilder::build() {
    const std::vector<Pack> samples = sample();
    if (samples.size() < 2) {
        return std::nullopt;
    }
    std::vector<std::uint64_t> starts{samples.front().offset};
    std::vector<Pack> all = samples;
    for (const Pack& restart : findRestarts(samples)) {
        starts.push_back(restart.offset);
        all.push_back(restart);
    }
    std::sort(all.begin(), all.end(),
              [](const Pack& a, const Pack& b) { return a.offset < b.offset; });
    std::vector<Segment> segments;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::uint64_t end = i + 1 < starts.size() ? starts[i + 1] : m_reader.size();
        if (auto segment = measure(starts[i], end, all)) {
            segments.push_back(std::move(*segment));
        }
    }
    if (segments.empty()) {
        return std::nullopt;
    }
    return Timeline(std::move(segments));
}

std::vector<Pack> TimelineBuilder::sample() const {
    const std::uint64_t step =
        std::max(kSectorBytes,
                 (m_reader.size() / kMostSamples + kSectorBytes - 1) / kSectorBytes * kSectorBytes);
    std::vector<Pack> samples;
    for (std::uint64_t offset = 0; offset < m_reader.size(); offset += step) {
        auto pack = m_reader.packAt(offset);
        if (pack && (samples.empty() || pack->offset > samples.back().offset)) {
            samples.push_back(std::move(*pack));
        }
    }
    return samples;
}

std::vector<Pack> TimelineBuilder::findRestarts(const std::vector<Pack>& samples) const {
    const double usualRate = typicalSecondsPerByte(samples);
    std::vector<Pack> restarts;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const Pack& before = samples[i - 1];
        const Pack& after = samples[i];
        const double gap = after.scrSeconds - before.scrSeconds;
        std::optional<Pack> restart;
        if (gap < -kBackwardSlack) {
            restart = backwardStep(before, after);
        } else if (gap > kLongestPackGap +
                             8 * usualRate * static_cast<double>(after.offset - before.offset)) {
            restart = forwardLeap(before, after);
        }
        if (restart) {
            restarts.push_back(std::move(*restart));
        }
    }
    return restarts;
}

std::optional<Pack> TimelineBuilder::between(const Pack& before, const Pack& after) const {
    if (before.offset + before.length >= after.offset) {
        return std::nullopt;
    }
    auto middle = m_reader.packAt(before.offset + (after.offset - before.offset) / 2,
                                  after.offset - before.offset);
    if (!middle || middle->offset <= before.offset || middle->offset >= after.offset) {
        return std::nullopt;
    }
    return middle;
}

std::optional<Pack> TimelineBuilder::backwardStep(Pack before, Pack after) const {
    // Every pack of the old stretch reads at least `floor`, every pack of the
    // new one (up to `after`) less: halve until the two meet.
    const double floor = before.scrSeconds - kBackwardSlack;
    while (auto middle = between(before, after)) {
        (middle->scrSeconds >= floor ? before : after) = std::move(*middle);
    }
    return after;
}

std::optional<Pack> TimelineBuilder::forwardLeap(Pack before, Pack after) const {
    // The leap dominates the clock's advance: follow the half holding more of it.
    while (auto middle = between(before, after)) {
        const bool inFirstHalf =
            middle->scrSeconds - before.scrSeconds > after.scrSeconds - middle->scrSeconds;
        (inFirstHalf ? after : before) = std::move(*middle);
    }
    if (after.scrSeconds - before.scrSeconds <= kLongestPackGap) {
        return std::nullopt;  // only a quiet stretch with few packs
    }
    return after;
}

std::optional<Segment> TimelineBuilder::measure(std::uint64_t start, std::uint64_t end,
                                                const std::vector<Pack>& samples) const {
    const auto first = firstStamp(start, end);
    const auto last = endStamp(start, end);
    if (!first || !last || !(*last > *first)) {
        return std::nullopt;
    }
    Segment segment{start, end, *first, *last, 0, {}};
    for (const Pack& pack : samples) {
        if (pack.offset >= start && pack.offset < end) {
            segment.samples.push_back({pack.offset, pack.scrSeconds});
        }
    }
    if (segment.samples.empty()) {
        return std::nullopt;
    }
    return segment;
}

std::optional<double> TimelineBuilder::firstStamp(std::uint64_t start, std::uint64_t end) const {
    std::optional<double> first;
    std::uint64_t offset = start;
    for (int n = 0; n < kEdgePacks && offset < end; ++n) {
        const auto pack = m_reader.packAt(offset);
        if (!pack || pack->offset >= end) {
            break;
        }
        if (pack->firstPts) {
            first = std::min(first.value_or(*pack->firstPts), *pack->firstPts);
        }
        offset = pack->offset + std::max<std::uint64_t>(pack->length, 1);
    }
    return first;
}

std::optional<double> TimelineBuilder::endStamp(std::uint64_t start, std::uint64_t end) const {
    // The last stamp of each stream, plus that stream's frame duration (the
    // closest two of its stamps), gives where its presentation ends.
    std::map<std::uint8_t, std::vector<double>> stamps;
    std::uint64_t offset =
        std::max(start, end > kEdgePacks * kSectorBytes ? end - kEdgePacks * kSectorBytes : 0);
    while (offset < end) {
        const auto pack = m_reader.packAt(offset);
        if (!pack || pack->offset >= end) {
            break;
        }
        for (const auto& [stream, pts] : pack->stamps) {
            stamps[stream].push_back(pts);
        }
        offset = pack->offset + std::max<std::uint64_t>(pack->length, 1);
    }
    std::optional<double> last;
    for (auto& [stream, list] : stamps) {
        std::sort(list.begin(), list.end());
        double frame = 0;
        for (std::size_t i = 1; i < list.size(); ++i) {
            const double step = list[i] - list[i - 1];
            if (step > 0 && step <= kLongestFrame && (frame == 0 || step < frame)) {
                frame = step;
            }
        }
        last = std::max(last.value_or(list.back() + frame), list.back() + frame);
    }
    return last;
}

}  // namespace trelvane::mci::timeline
