#include "mci/timeline/MpegPacks.h"

namespace trelvane::mci::timeline {
namespace {

constexpr double kSystemClockHz = 27'000'000.0;
constexpr double kTimestampHz = 90'000.0;
constexpr std::uint8_t kPackStart = 0xBA;
constexpr std::uint8_t kPrivateStream1 = 0xBD;

bool hasStartCode(Bytes bytes) {
    return bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1;
}

std::uint64_t bits(std::uint8_t byte, int shift, std::uint8_t mask) {
    return static_cast<std::uint64_t>((byte >> shift) & mask);
}

std::optional<PackHeader> mpeg2Pack(Bytes b) {
    if (b.size() < 14 || !(b[4] & 0x04) || !(b[6] & 0x04) || !(b[8] & 0x04) || !(b[9] & 0x01) ||
        (b[12] & 0x03) != 0x03) {
        return std::nullopt;
    }
    const std::uint64_t base = bits(b[4], 3, 0x07) << 30 | bits(b[4], 0, 0x03) << 28 |
                               std::uint64_t{b[5]} << 20 | bits(b[6], 3, 0x1F) << 15 |
                               bits(b[6], 0, 0x03) << 13 | std::uint64_t{b[7]} << 5 |
                               bits(b[8], 3, 0x1F);
    const std::uint64_t extension = bits(b[8], 0, 0x03) << 7 | bits(b[9], 1, 0x7F);
    const std::size_t length = 14 + (b[13] & 0x07);
    if (b.size() < length) {
        return std::nullopt;
    }
    return PackHeader{static_cast<double>(base * 300 + extension) / kSystemClockHz, length};
}

std::optional<PackHeader> mpeg1Pack(Bytes b) {
    if (b.size() < 12 || !(b[4] & 0x01) || !(b[6] & 0x01) || !(b[8] & 0x01)) {
        return std::nullopt;
    }
    const std::uint64_t base = bits(b[4], 1, 0x07) << 30 | std::uint64_t{b[5]} << 22 |
                               bits(b[6], 1, 0x7F) << 15 | std::uint64_t{b[7]} << 7 |
                               bits(b[8], 1, 0x7F);
    return PackHeader{static_cast<double>(base) / kTimestampHz, 12};
}

// A 33-bit timestamp in the five-byte layout shared by both generations.
std::optional<double> timestamp(Bytes b) {
    if (b.size() < 5 || !(b[0] & 0x01) || !(b[2] & 0x01) || !(b[4] & 0x01)) {
        return std::nullopt;
    }
    const std::uint64_t ticks = bits(b[0], 1, 0x07) << 30 | std::uint64_t{b[1]} << 22 |
                                bits(b[2], 1, 0x7F) << 15 | std::uint64_t{b[3]} << 7 |
                                bits(b[4], 1, 0x7F);
    return static_cast<double>(ticks) / kTimestampHz;
}

bool hasTimingHeader(std::uint8_t id) {
    return id == kPrivateStream1 || (id >= 0xC0 && id <= 0xEF);
}

// Fills in the timestamp and payload of a packet whose body is `body`.
bool readTimingHeader(Bytes body, PesPacket& packet) {
    if (!body.empty() && (body[0] & 0xC0) == 0x80) {  // MPEG-2 header
        if (body.size() < 3 || body.size() < 3u + body[2]) {
            return false;
        }
        if (body[1] & 0x80) {
            packet.ptsSeconds = timestamp(body.subspan(3));
        }
        packet.payload = body.subspan(3u + body[2]);
        return true;
    }
    std::size_t at = 0;  // MPEG-1: stuffing, buffer size, then the stamps
    while (at < body.size() && at < 16 && body[at] == 0xFF) {
        ++at;
    }
    if (at < body.size() && (body[at] & 0xC0) == 0x40) {
        at += 2;
    }
    if (at >= body.size()) {
        return false;
    }
    const std::uint8_t kind = body[at] & 0xF0;
    if (kind == 0x20 || kind == 0x30) {
        packet.ptsSeconds = timestamp(body.subspan(at));
        at += kind == 0x20 ? 5 : 10;
    } else if (body[at] == 0x0F) {
        at += 1;
    } else {
        return false;
    }
    if (at > body.size()) {
        return false;
    }
    packet.payload = body.subspan(at);
    return true;
}

}  // namespace

std::optional<PackHeader> parsePackHeader(Bytes bytes) {
    if (!hasStartCode(bytes) || bytes[3] != kPackStart || bytes.size() < 5) {
        return std::nullopt;
    }
    if ((bytes[4] & 0xC0) == 0x40) {
        return mpeg2Pack(bytes);
    }
    if ((bytes[4] & 0xF0) == 0x20) {
        return mpeg1Pack(bytes);
    }
    return std::nullopt;
}

std::optional<PesPacket> parsePes(Bytes bytes) {
    if (!hasStartCode(bytes) || bytes[3] <= kPackStart || bytes.size() < 6) {
        return std::nullopt;
    }
    const std::size_t length = 6 + (std::size_t{bytes[4]} << 8 | bytes[5]);
    if (bytes.size() < length) {
        return std::nullopt;
    }
    PesPacket packet;
    packet.streamId = bytes[3];
    packet.length = length;
    const Bytes body = bytes.subspan(6, length - 6);
    if (hasTimingHeader(packet.streamId) && !readTimingHeader(body, packet)) {
        packet.ptsSeconds.reset();
        packet.payload = {};
    }
    return packet;
}

bool isVideo(const PesPacket& packet) {
    return packet.streamId >= 0xE0 && packet.streamId <= 0xEF;
}

bool carriesMovieTime(const PesPacket& packet) {
    if (isVideo(packet) || (packet.streamId >= 0xC0 && packet.streamId <= 0xDF)) {
        return true;
    }
    // On discs, private stream 1 carries AC-3, DTS and PCM sound (sub-stream
    // 0x80..0xAF) but also subpictures, whose stamps say nothing of length.
    return packet.streamId == kPrivateStream1 && !packet.payload.empty() &&
           packet.payload[0] >= 0x80 && packet.payload[0] <= 0xAF;
}

bool opensPictureGroup(const PesPacket& packet) {
    const Bytes p = packet.payload;
    for (std::size_t i = 0; i + 3 < p.size(); ++i) {
        if (p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 1 && (p[i + 3] == 0xB3 || p[i + 3] == 0xB8)) {
            return true;
        }
    }
    return false;
}

}  // namespace trelvane::mci::timeline
