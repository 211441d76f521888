#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trelvane::mci::timeline {

// One cell of a title set's movie as its information file lists it. Sectors
// count 2048-byte blocks from the start of the set's first movie part.
struct IfoCell {
    std::uint16_t vobId = 0;
    std::uint8_t cellId = 0;
    std::uint32_t firstSector = 0;
    std::uint32_t lastSector = 0;
    double seconds = 0;          // its playback time
    bool clockRestarts = false;  // the clocks start afresh at this cell
};

// The cells of title set `titleSet` from VTS_nn_0.IFO in `folder` (or its
// backup copy, .BUP, where the first cannot be read), in the order of their
// sectors, each listed once however many program chains play it. nullopt
// when neither can be read or what they hold does not make one plain run
// of cells: overlapping or reversed sectors, impossible times, or blocks
// of several camera angles, whose cells interleave and cannot be played
// through in file order.
std::optional<std::vector<IfoCell>> readIfoCells(const std::string& folder, int titleSet);

}  // namespace trelvane::mci::timeline
