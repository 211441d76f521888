#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace trelvane::mci::timeline {

using Bytes = std::span<const std::uint8_t>;

// The clock a pack header carries, and how many bytes the header takes.
struct PackHeader {
    double scrSeconds = 0;
    std::size_t length = 0;
};

// One packet of an elementary stream inside a pack.
struct PesPacket {
    std::uint8_t streamId = 0;
    std::optional<double> ptsSeconds;
    Bytes payload;
    std::size_t length = 0;  // start code to the end of the payload
};

// Reads a pack header (MPEG-2, or MPEG-1) at the start of `bytes`; nullopt
// when the bytes are not one or its marker bits are wrong.
std::optional<PackHeader> parsePackHeader(Bytes bytes);

// Reads the packet at the start of `bytes`; nullopt when it is not a packet
// or does not fit.
std::optional<PesPacket> parsePes(Bytes bytes);

// Audio and video: the streams whose timestamps make up a movie's length.
bool carriesMovieTime(const PesPacket& packet);
bool isVideo(const PesPacket& packet);
// True when the payload opens a group of pictures (or a sequence), where a
// decoder can start.
bool opensPictureGroup(const PesPacket& packet);

}  // namespace trelvane::mci::timeline
