#include "mci/timeline/SeekPoint.h"

#include "mci/timeline/ClockSearch.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace trelvane::mci::timeline {
namespace {

// Picture groups last at most about a second; look this far either way.
constexpr double kSearchSeconds = 1.5;
constexpr std::uint64_t kLeastSearchBytes = 256 * 1024;
constexpr std::uint64_t kMostSearchBytes = 16 * 1024 * 1024;
// The core, sent to a picture group this close to the end of its stretch,
// finds the sound there running out as it starts, and starts again at the
// next stretch's first picture instead.
constexpr double kLeastTailSeconds = 0.2;

std::uint64_t searchBytes(const Segment& segment) {
    const double bytesPerSecond =
        static_cast<double>(segment.byteEnd - segment.byteStart) / std::max(segment.span(), 0.001);
    return std::clamp(static_cast<std::uint64_t>(bytesPerSecond * kSearchSeconds),
                      kLeastSearchBytes, kMostSearchBytes);
}

}  // namespace

std::uint64_t seekOffset(const PackReader& reader, const Timeline& timeline, const Place& place) {
    const Segment& segment = timeline.segment(place.segment);
    const std::uint64_t reach = searchBytes(segment);
    const std::uint64_t estimate = offsetOfStamp(reader, segment, place.pts, reach);
    std::uint64_t offset =
        estimate > segment.byteStart + reach ? estimate - reach : segment.byteStart;
    const std::uint64_t end = std::min(segment.byteEnd, estimate + reach);
    std::optional<std::uint64_t> best;
    double bestDistance = 0;
    while (offset < end) {
        const auto pack = reader.packAt(offset);
        if (!pack || pack->offset >= end) {
            break;
        }
        if (pack->pictureGroupPts && *pack->pictureGroupPts + kLeastTailSeconds <= segment.endPts) {
            const double distance = std::fabs(*pack->pictureGroupPts - place.pts);
            if (!best || distance < bestDistance) {
                best = pack->offset;
                bestDistance = distance;
            }
        }
        offset = pack->offset + std::max<std::uint64_t>(pack->length, 1);
    }
    return best.value_or(estimate);
}

}  // namespace trelvane::mci::timeline
