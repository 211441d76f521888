#include "mci/timeline/SeekPoint.h"

#include "mci/timeline/ClockSearch.h"

#include <algorithm>
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
// The core can only go on from where it starts: a picture group that opens
// this little after the target is nearer than one a whole group before it
// that the pictures would have to be stepped through from.
constexpr double kAheadSeconds = 0.1;

std::uint64_t searchBytes(const Segment& segment) {
    const double bytesPerSecond =
        static_cast<double>(segment.byteEnd - segment.byteStart) / std::max(segment.span(), 0.001);
    return std::clamp(static_cast<std::uint64_t>(bytesPerSecond * kSearchSeconds),
                      kLeastSearchBytes, kMostSearchBytes);
}

}  // namespace

SeekPoint seekPoint(const PackReader& reader, const Timeline& timeline, const Place& place,
                    std::optional<double> before) {
    const Segment& segment = timeline.segment(place.segment);
    const std::uint64_t reach = searchBytes(segment);
    const std::uint64_t estimate = offsetOfStamp(reader, segment, place.pts, reach);
    std::uint64_t offset =
        estimate > segment.byteStart + reach ? estimate - reach : segment.byteStart;
    const std::uint64_t end = std::min(segment.byteEnd, estimate + reach);
    std::optional<SeekPoint> best;
    std::optional<SeekPoint> earliest;
    while (offset < end) {
        const auto pack = reader.packAt(offset);
        if (!pack || pack->offset >= end) {
            break;
        }
        const auto& group = pack->pictureGroupPts;
        if (group && *group + kLeastTailSeconds <= segment.endPts &&
            (!before || *group < *before)) {
            const SeekPoint point{pack->offset, group};
            earliest = earliest.value_or(point);
            if (*group <= place.pts + kAheadSeconds && (!best || *group > *best->groupPts)) {
                best = point;
            }
        }
        offset = pack->offset + std::max<std::uint64_t>(pack->length, 1);
    }
    return best.value_or(earliest.value_or(SeekPoint{estimate, std::nullopt}));
}

}  // namespace trelvane::mci::timeline
