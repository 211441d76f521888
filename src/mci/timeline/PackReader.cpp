#include "mci/timeline/PackReader.h"

#include "mci/timeline/ClockWrap.h"
#include "mci/timeline/MpegPacks.h"

#include <algorithm>

namespace trelvane::mci::timeline {
namespace {

// Packs on discs are 2048 bytes; other program streams stay near that size.
constexpr std::uint64_t kSectorBytes = 2048;
constexpr std::uint64_t kLongestPack = 8192;

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

PackReader::~PackReader() = default;

bool PackReader::open(const std::string& path) {
    auto movie = std::make_shared<MovieReader>();
    return movie->open(path) && open(std::move(movie));
}

bool PackReader::open(std::shared_ptr<const MovieReader> movie) {
    m_movie = std::move(movie);
    m_size = m_movie ? m_movie->size() : 0;
    if (!m_movie) {
        return false;
    }
    if (const auto first = packAt(0)) {
        m_clockOrigin = first->scrSeconds;
    }
    return true;
}

std::optional<Pack> PackReader::packAt(std::uint64_t offset, std::uint64_t searchBytes) const {
    if (!m_movie || offset >= m_size || stopped()) {
        return std::nullopt;
    }
    // Most packs start right where they are looked for and fit in a sector
    // or two: try a small read before a long search.
    if (auto pack =
            attempt(offset, 2 * kSectorBytes, std::min<std::uint64_t>(searchBytes, kSectorBytes));
        pack && pack->complete) {
        return pack;
    }
    // The rest a piece at a time: a missed probe over a whole gap must not
    // become one read of all of it, nor keep a stopped build reading on.
    for (std::uint64_t from = 0; from <= searchBytes && offset + from < m_size;
         from += kSearchPiece) {
        if (stopped()) {
            return std::nullopt;
        }
        const std::uint64_t piece = std::min(kSearchPiece, searchBytes - from);
        if (auto pack = attempt(offset + from, piece + kLongestPack, piece)) {
            return pack;
        }
    }
    return std::nullopt;
}

std::size_t PackReader::readAt(std::uint8_t* into, std::size_t count, std::uint64_t offset) const {
    const std::size_t done = m_movie->readAt(offset, into, count);
    m_reads.fetch_add(1, std::memory_order_relaxed);
    m_bytes.fetch_add(done, std::memory_order_relaxed);
    std::uint64_t longest = m_longest.load(std::memory_order_relaxed);
    while (count > longest && !m_longest.compare_exchange_weak(longest, count)) {
    }
    return done;
}

PackReader::Tally PackReader::tally() const {
    return {m_reads.load(), m_bytes.load(), m_longest.load()};
}

std::optional<Pack> PackReader::attempt(std::uint64_t offset, std::uint64_t readBytes,
                                        std::uint64_t searchBytes) const {
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::min<std::uint64_t>(readBytes, m_size - offset)));
    bytes.resize(readAt(bytes.data(), bytes.size(), offset));
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
    if (!m_movie || offset >= m_size || until <= offset || most == 0 || stopped()) {
        return packs;
    }
    // What the packs asked for take if the first starts at `offset`, as on a
    // disc it does, and enough to see the last one end: a run that starts
    // later is cut short, and the caller reads on from where it ends.
    const std::uint64_t span = std::min<std::uint64_t>(until - offset, most * kSectorBytes);
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::min<std::uint64_t>(span + kLongestPack, m_size - offset)));
    bytes.resize(readAt(bytes.data(), bytes.size(), offset));
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
