#pragma once

#include <cstdint>

#include "mci/timeline/PackReader.h"
#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// Roughly where the data shown at stamp `pts` of `segment` lies, to within
// `within` bytes. The samples of the index lie far apart in a long stretch and
// a stream's rate varies between them, so the two samples around the clock
// are halved until they are that close, then the offset is taken between them.
std::uint64_t offsetOfStamp(const PackReader& reader, const Segment& segment, double pts,
                            std::uint64_t within);

}  // namespace trelvane::mci::timeline
