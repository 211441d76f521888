#pragma once

#include <optional>
#include <string>

#include "mci/timeline/PackReader.h"
#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// The timeline of one movie part of a title set (VTS_nn_k.VOB) from the
// information file of the set lying beside it, read with few packs: the file
// lists every cell's sectors and playback time, so where the clocks may
// restart is known rather than searched for, and only the edges of each
// stretch are read, for their stamps.
//
// What the information file says is checked against the part: the
// navigation packs where a stretch begins, and where cells meet inside the
// part, must name the very sector they lie at and the cell listed there,
// their clocks must differ as the cells' times do, and the first and last
// stamps read must fall where the cells' times put them. nullopt where the
// file is not such a part, there is no readable information file, or it
// disagrees in anything: then the packs must tell.
std::optional<Timeline> ifoTimeline(const std::string& path, const PackReader& reader);

}  // namespace trelvane::mci::timeline
