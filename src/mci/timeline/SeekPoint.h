#pragma once

#include <cstdint>

#include "mci/timeline/PackReader.h"
#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// Where to start reading the file so that the first picture shown is the one
// nearest to `place`: the pack that opens the picture group whose stamp is
// closest to it, found near the offset the clocks suggest, and far enough
// from the stretch's end that the player starts there rather than in the
// next stretch.
std::uint64_t seekOffset(const PackReader& reader, const Timeline& timeline, const Place& place);

}  // namespace trelvane::mci::timeline
