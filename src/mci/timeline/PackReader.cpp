#include "mci/timeline/PackReader.h"

#include "mci/timeline/ClockWrap.h"
#include "mci/timeline/MpegPacks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace trelvane::mci::timeline {
namespace {

// Packs on discs are 2048 bytes; other program streams stay near that size.
constexpr std::uint64_t kSectorBytes = 2048;
constexpr std::uint64_t kLongestPack = 8192;

std::size_t readAt(int fd, std::uint8_t* into, std::size_t count, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd, into + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool isPackStart(const std::vector<std::uint8_t>& b, std::size_t i) {
    return i + 3 < b.size() && b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 && b[i + 3] == 0xBA;
}

void noteStamp(Pack& pack, const PesPacket& packet, double clockOrigin) {
    if (!packet.ptsSeconds || !carriesMovieTime(packet)) {
        return;
    }
    const double pts = unwrapped(*packet.ptsSeconds, clockOrigin);
    pack.stamps.emplace_back(packet.streamId, pts);
    pack.firstPts = std::min(pack.firstPts.value_or(pts), pts);
    pack.lastPts = std::max(pack.lastPts.value_or(pts), pts);
    if (isVideo(packet) && !pack.pictureGroupPts && opensPictureGroup(packet)) {
        pack.pictureGroupPts = pts;
    }
}

}  // namespace

PackReader::~PackReader() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool PackReader::open(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
    if (const auto first = packAt(0)) {
        m_clockOrigin = first->scrSeconds;
    }
    return true;
}

std::optional<Pack> PackReader::packAt(std::uint64_t offset, std::uint64_t searchBytes) const {
    if (m_fd < 0 || offset >= m_size || stopped()) {
        return std::nullopt;
    }
    // Most packs start right where they are looked for and fit in a sector
    // or two: try a small read before a long search.
    if (auto pack =
            attempt(offset, 2 * kSectorBytes, std::min<std::uint64_t>(searchBytes, kSectorBytes));
        pack && pack->complete) {
        return pack;
    }
    return attempt(offset, searchBytes + kLongestPack, searchBytes);
}

std::optional<Pack> PackReader::attempt(std::uint64_t offset, std::uint64_t readBytes,
                                        std::uint64_t searchBytes) const {
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::min<std::uint64_t>(readBytes, m_size - offset)));
    bytes.resize(readAt(m_fd, bytes.data(), bytes.size(), offset));
    const bool toEnd = offset + bytes.size() >= m_size;
    for (std::size_t i = 0; i <= searchBytes && i < bytes.size(); ++i) {
        if (isPackStart(bytes, i)) {
            if (auto pack = parseAt(offset, bytes, i, toEnd)) {
                return pack;
            }
        }
    }
    return std::nullopt;
}

std::optional<Pack> PackReader::parseAt(std::uint64_t offset,
                                        const std::vector<std::uint8_t>& bytes, std::size_t at,
                                        bool toEnd) const {
    const Bytes all(bytes);
    const auto header = parsePackHeader(all.subspan(at));
    if (!header) {
        return std::nullopt;
    }
    Pack pack;
    pack.offset = offset + at;
    pack.scrSeconds = unwrapped(header->scrSeconds, m_clockOrigin);
    std::size_t i = at + header->length;
    while (i < bytes.size() && !isPackStart(bytes, i)) {
        const auto packet = parsePes(all.subspan(i));
        if (!packet) {
            break;  // padding to the next pack, or a packet cut by the end of what was read
        }
        noteStamp(pack, *packet, m_clockOrigin);
        i += packet->length;
    }
    pack.length = i - at;
    pack.complete = isPackStart(bytes, i) || (toEnd && i == bytes.size());
    return pack;
}

std::vector<Pack> PackReader::packsFrom(std::uint64_t offset, std::uint64_t until,
                                        std::size_t most) const {
    constexpr std::uint64_t kSearchBytes = 16384;
    std::vector<Pack> packs;
    if (m_fd < 0 || offset >= m_size || until <= offset || most == 0 || stopped()) {
        return packs;
    }
    const std::uint64_t span = std::min<std::uint64_t>(until - offset, most * kSectorBytes);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(
        std::min<std::uint64_t>(span + kSearchBytes + kLongestPack, m_size - offset)));
    bytes.resize(readAt(m_fd, bytes.data(), bytes.size(), offset));
    const bool toEnd = offset + bytes.size() >= m_size;
    std::size_t from = 0;
    while (packs.size() < most) {
        std::optional<Pack> pack;
        for (std::size_t i = from; i <= from + kSearchBytes && i < bytes.size() && !pack; ++i) {
            if (isPackStart(bytes, i)) {
                pack = parseAt(offset, bytes, i, toEnd);
            }
        }
        // A pack cut short by the end of what was read is left to the caller.
        const bool cut = pack && !pack->complete &&
                         pack->offset - offset + pack->length + kLongestPack >= bytes.size() &&
                         !toEnd;
        if (!pack || cut || pack->offset >= until) {
            break;
        }
        from = static_cast<std::size_t>(pack->offset - offset +
                                        std::max<std::uint64_t>(pack->length, 1));
        packs.push_back(std::move(*pack));
    }
    return packs;
}

}  // namespace trelvane::mci::timeline
