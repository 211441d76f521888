#pragma once

#include <cstdint>
#include <optional>

#include "mci/timeline/PackReader.h"
#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

struct SeekPoint {
    std::uint64_t offset = 0;
    std::optional<double> groupPts;  // stamp of the picture group opening there
};

// Where to start reading the file so that the first picture shown is the
// one nearest to `place` that playback can go on from to reach it: the pack
// that opens the last picture group starting before it (or just after it),
// found near the offset the clocks suggest, and far enough from the
// stretch's end that the player starts there rather than in the next
// stretch. With `before`, only groups starting earlier than that stamp
// count: where the core would not start at a group, the one before it.
SeekPoint seekPoint(const PackReader& reader, const Timeline& timeline, const Place& place,
                    std::optional<double> before = std::nullopt);

}  // namespace trelvane::mci::timeline
