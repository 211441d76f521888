#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace trelvane::mci::timeline {

// What one pack holds that a timeline needs.
struct Pack {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;  // up to the next pack, or the end of what was readable
    double scrSeconds = 0;
    std::optional<double> firstPts;         // earliest sound or picture stamp in the pack
    std::optional<double> lastPts;          // latest one
    std::optional<double> pictureGroupPts;  // stamp of a picture group opening here
    std::vector<std::pair<std::uint8_t, double>> stamps;  // stream id and stamp, in order
    bool complete = false;  // read up to the next pack or the end of the file
};

}  // namespace trelvane::mci::timeline
