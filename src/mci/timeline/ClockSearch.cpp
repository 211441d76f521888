#include "mci/timeline/ClockSearch.h"

#include <algorithm>

namespace trelvane::mci::timeline {

std::uint64_t offsetOfStamp(const PackReader& reader, const Segment& segment, double pts,
                            std::uint64_t within) {
    const std::vector<ClockSample>& samples = segment.samples;
    if (samples.empty()) {
        return segment.byteStart;
    }
    // The clock leads the stamps by a delay that is constant within a stretch.
    const double clock = pts - (segment.firstPts - samples.front().scrSeconds);
    if (clock <= samples.front().scrSeconds) {
        return segment.byteStart;
    }
    const auto after = std::upper_bound(
        samples.begin(), samples.end(), clock,
        [](double value, const ClockSample& sample) { return value < sample.scrSeconds; });
    ClockSample low = *(after - 1);
    // Past the last sample the stretch's end closes the search.
    ClockSample high = after != samples.end() ? *after : ClockSample{segment.byteEnd, 0};
    const bool open = after == samples.end();
    while (high.offset - low.offset > within) {
        const auto middle =
            reader.packAt(low.offset + (high.offset - low.offset) / 2, high.offset - low.offset);
        if (!middle || middle->offset <= low.offset || middle->offset >= high.offset) {
            break;
        }
        (middle->scrSeconds <= clock ? low : high) = {middle->offset, middle->scrSeconds};
    }
    if (open && high.offset == segment.byteEnd) {
        return low.offset;
    }
    const double share = std::clamp(
        (clock - low.scrSeconds) / std::max(high.scrSeconds - low.scrSeconds, 1e-9), 0.0, 1.0);
    return low.offset +
           static_cast<std::uint64_t>(share * static_cast<double>(high.offset - low.offset));
}

}  // namespace trelvane::mci::timeline
