#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace trelvane::mci::timeline {

// Where a movie part of a title set (VTS_nn_k.VOB, k from 1 to 9) lies among
// the set's sectors: the parts are one run of sectors cut into files, so a
// part starts where the parts before it, in the same folder, end.
struct IfoPlace {
    std::string folder;
    int titleSet = 0;
    std::uint32_t firstSector = 0;
    std::uint32_t sectors = 0;
    bool lastPart = false;  // no later part lies beside it
};

// nullopt for any other file (a menu, VTS_nn_0.VOB or VIDEO_TS.VOB, has no
// place among the movie's sectors), for a part of `size` bytes that is not
// whole sectors, or one whose earlier parts are missing or not whole
// sectors either.
std::optional<IfoPlace> placeOfPart(const std::string& path, std::uint64_t size);

}  // namespace trelvane::mci::timeline
