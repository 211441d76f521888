#include "mci/timeline/Timeline.h"

#include <algorithm>
#include <cmath>

namespace trelvane::mci::timeline {
namespace {

std::int64_t toMs(double seconds) {
    return std::llround(seconds * 1000.0);
}

}  // namespace

Timeline::Timeline(std::vector<Segment> segments) : m_segments(std::move(segments)) {
    double start = 0;
    for (Segment& segment : m_segments) {
        segment.continuousStart = start;
        start += segment.span();
    }
}

std::int64_t Timeline::lengthMs() const {
    if (m_segments.empty()) {
        return 0;
    }
    const Segment& last = m_segments.back();
    return toMs(last.continuousStart + last.span());
}

Place Timeline::locate(std::int64_t ms) const {
    const double seconds = static_cast<double>(ms) / 1000.0;
    std::size_t index = 0;
    while (index + 1 < m_segments.size() && m_segments[index + 1].continuousStart <= seconds) {
        ++index;
    }
    const Segment& segment = m_segments[index];
    const double into = std::clamp(seconds - segment.continuousStart, 0.0, segment.span());
    return {index, segment.firstPts + into};
}

std::int64_t Timeline::continuousMs(const Place& place) const {
    const Segment& segment = m_segments[place.segment];
    const double into = std::clamp(place.pts - segment.firstPts, 0.0, segment.span());
    return std::clamp<std::int64_t>(toMs(segment.continuousStart + into), 0, lengthMs());
}

std::uint64_t Timeline::estimateOffset(const Place& place) const {
    const Segment& segment = m_segments[place.segment];
    const std::vector<ClockSample>& samples = segment.samples;
    const double clock = place.pts - (segment.firstPts - samples.front().scrSeconds);
    const auto after = std::upper_bound(
        samples.begin(), samples.end(), clock,
        [](double value, const ClockSample& sample) { return value < sample.scrSeconds; });
    if (after == samples.begin()) {
        return segment.byteStart;
    }
    if (after == samples.end()) {
        return samples.back().offset;
    }
    // The samples lie in the order of their offsets; where a restart went
    // unseen their clocks are not in order too, and the two found need not
    // bracket the clock: the estimate is kept between them.
    const ClockSample& before = *(after - 1);
    const double span = after->scrSeconds - before.scrSeconds;
    const double share = span > 0 ? std::clamp((clock - before.scrSeconds) / span, 0.0, 1.0) : 0.0;
    return before.offset +
           static_cast<std::uint64_t>(share * static_cast<double>(after->offset - before.offset));
}

}  // namespace trelvane::mci::timeline
