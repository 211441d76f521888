#include "mci/timeline/IfoCells.h"
#include "mci/timeline/ReadOnlyFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

// The two tables the index needs, read here rather than through a general
// disc library: the information file is input from a disc or the network,
// and every offset and count in it is checked against the bytes the file
// holds before it is followed. Multi-byte numbers are big-endian.
namespace trelvane::mci::timeline {
namespace {

constexpr std::uint64_t kSectorBytes = 2048;
constexpr std::string_view kTitleSetMark = "DVDVIDEO-VTS";
// In the title set's management table.
constexpr std::uint64_t kLastSectorAt = 0x1C;  // the information file's own last sector
constexpr std::uint64_t kChainTableAt = 0xCC;  // the program chain table's first sector
// In the program chain table: a count, a pad and its last byte, then one
// 8-byte entry per chain whose last four bytes give where it starts.
constexpr std::uint64_t kChainEntriesAt = 8;
constexpr std::uint64_t kChainEntryBytes = 8;
// In a program chain.
constexpr std::uint64_t kChainBytes = 0xEC;
constexpr std::uint64_t kCellCountAt = 0x03;
constexpr std::uint64_t kCellPlaybackOffsetAt = 0xE8;
constexpr std::uint64_t kCellPositionOffsetAt = 0xEA;
constexpr std::uint64_t kCellPlaybackBytes = 24;
constexpr std::uint64_t kCellPositionBytes = 4;
constexpr int kAngleBlock = 1;

// The bytes [from, from + size) of a file, read once: every later access
// is checked against what was really read.
class Bytes {
public:
    bool read(int fd, std::uint64_t from, std::uint64_t size) {
        m_data.assign(size, 0);
        std::uint64_t done = 0;
        while (done < size) {
            const ssize_t got =
                ::pread(fd, m_data.data() + done, size - done, static_cast<off_t>(from + done));
            if (got <= 0) {
                return false;
            }
            done += static_cast<std::uint64_t>(got);
        }
        return true;
    }
    bool holds(std::uint64_t at, std::uint64_t count) const {
        return at <= m_data.size() && count <= m_data.size() - at;
    }
    std::uint8_t u8(std::uint64_t at) const { return m_data[at]; }
    std::uint16_t u16(std::uint64_t at) const {
        return static_cast<std::uint16_t>((m_data[at] << 8) | m_data[at + 1]);
    }
    std::uint32_t u32(std::uint64_t at) const {
        return (std::uint32_t{m_data[at]} << 24) | (std::uint32_t{m_data[at + 1]} << 16) |
               (std::uint32_t{m_data[at + 2]} << 8) | std::uint32_t{m_data[at + 3]};
    }
    std::string_view text(std::uint64_t at, std::uint64_t count) const {
        return {reinterpret_cast<const char*>(m_data.data() + at), count};
    }

private:
    std::vector<std::uint8_t> m_data;
};

std::optional<int> fromBcd(std::uint8_t value) {
    const int high = value >> 4;
    const int low = value & 0x0f;
    if (high > 9 || low > 9) {
        return std::nullopt;
    }
    return high * 10 + low;
}

// A playback time: hours, minutes, seconds and frames in BCD, the frame
// rate in the top two bits of the frames (1 for 25 a second, 3 for 30).
std::optional<double> secondsOf(const Bytes& bytes, std::uint64_t at) {
    const auto hours = fromBcd(bytes.u8(at));
    const auto minutes = fromBcd(bytes.u8(at + 1));
    const auto seconds = fromBcd(bytes.u8(at + 2));
    const auto frames = fromBcd(bytes.u8(at + 3) & 0x3f);
    const int rate = bytes.u8(at + 3) >> 6;
    if (!hours || !minutes || !seconds || !frames || *minutes > 59 || *seconds > 59 ||
        (rate != 1 && rate != 3)) {
        return std::nullopt;
    }
    const double perSecond = rate == 1 ? 25.0 : 30000.0 / 1001.0;
    if (*frames >= (rate == 1 ? 25 : 30)) {
        return std::nullopt;
    }
    return *hours * 3600.0 + *minutes * 60.0 + *seconds + *frames / perSecond;
}

// Adds the cells of the chain at `chain` in the chain table; false for one
// that does not fit in the table or cannot be played through in file order.
bool addCells(const Bytes& table, std::uint64_t chain, std::vector<IfoCell>& cells) {
    if (!table.holds(chain, kChainBytes)) {
        return false;
    }
    const int count = table.u8(chain + kCellCountAt);
    if (count == 0) {
        return true;
    }
    const std::uint64_t playback = chain + table.u16(chain + kCellPlaybackOffsetAt);
    const std::uint64_t position = chain + table.u16(chain + kCellPositionOffsetAt);
    if (!table.holds(playback, count * kCellPlaybackBytes) ||
        !table.holds(position, count * kCellPositionBytes)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const std::uint64_t cell = playback + i * kCellPlaybackBytes;
        const std::uint8_t flags = table.u8(cell);
        const int blockType = (flags >> 4) & 0x03;
        const bool interleaved = (flags & 0x04) != 0;
        const bool clockRestarts = (flags & 0x02) != 0;
        const auto seconds = secondsOf(table, cell + 4);
        const std::uint32_t first = table.u32(cell + 8);
        const std::uint32_t last = table.u32(cell + 20);
        if (blockType == kAngleBlock || interleaved || !seconds || last < first) {
            return false;
        }
        const std::uint64_t place = position + i * kCellPositionBytes;
        cells.push_back(
            {table.u16(place), table.u8(place + 3), first, last, *seconds, clockRestarts});
    }
    return true;
}

// The cells one information file lists, in the order of its chains; nullopt
// where it is not a whole title set's file.
std::optional<std::vector<IfoCell>> cellsOfFile(const std::string& path) {
    const ReadOnlyFd fd(path);
    struct stat info {};
    if (fd.value < 0 || ::fstat(fd.value, &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    Bytes head;
    if (!head.read(fd.value, 0, std::min(size, kSectorBytes)) ||
        !head.holds(0, kChainTableAt + 4) || head.text(0, kTitleSetMark.size()) != kTitleSetMark) {
        return std::nullopt;
    }
    // A file shorter than it says it is was cut short: its copy may be whole.
    const std::uint64_t ownSize = (std::uint64_t{head.u32(kLastSectorAt)} + 1) * kSectorBytes;
    const std::uint64_t start = std::uint64_t{head.u32(kChainTableAt)} * kSectorBytes;
    if (size < ownSize || start == 0 || start + kChainEntriesAt > size) {
        return std::nullopt;
    }
    Bytes top;
    if (!top.read(fd.value, start, kChainEntriesAt)) {
        return std::nullopt;
    }
    const std::uint64_t tableBytes = std::uint64_t{top.u32(4)} + 1;
    Bytes table;
    if (tableBytes < kChainEntriesAt || tableBytes > size - start ||
        !table.read(fd.value, start, tableBytes)) {
        return std::nullopt;
    }
    const std::uint16_t chains = table.u16(0);
    if (!table.holds(kChainEntriesAt, chains * kChainEntryBytes)) {
        return std::nullopt;
    }
    std::vector<IfoCell> cells;
    for (std::uint16_t i = 0; i < chains; ++i) {
        const std::uint32_t chain = table.u32(kChainEntriesAt + i * kChainEntryBytes + 4);
        if (!addCells(table, chain, cells)) {
            return std::nullopt;
        }
    }
    return cells;
}

// The file `name` in the first of the folders a disc's files are kept in
// that holds it, whatever the case of its letters; empty where none does.
std::string findFile(const std::string& folder, const std::string& name) {
    for (const std::string& place : {folder, folder + "/VIDEO_TS", folder + "/video_ts"}) {
        DIR* dir = ::opendir(place.c_str());
        if (dir == nullptr) {
            continue;
        }
        std::string found;
        while (const dirent* entry = ::readdir(dir)) {
            if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
                found = place + "/" + entry->d_name;
                break;
            }
        }
        ::closedir(dir);
        if (!found.empty()) {
            return found;
        }
    }
    return {};
}

// One plain run of cells in sector order, each once however many chains
// play it; nullopt where two claim one sector.
std::optional<std::vector<IfoCell>> inSectorOrder(std::vector<IfoCell> cells) {
    std::sort(cells.begin(), cells.end(),
              [](const IfoCell& a, const IfoCell& b) { return a.firstSector < b.firstSector; });
    const auto same = [](const IfoCell& a, const IfoCell& b) {
        return a.firstSector == b.firstSector && a.lastSector == b.lastSector &&
               a.vobId == b.vobId && a.cellId == b.cellId;
    };
    cells.erase(std::unique(cells.begin(), cells.end(), same), cells.end());
    if (cells.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (cells[i].firstSector <= cells[i - 1].lastSector) {
            return std::nullopt;
        }
    }
    return cells;
}

}  // namespace

std::optional<std::vector<IfoCell>> readIfoCells(const std::string& folder, int titleSet) {
    if (titleSet < 1 || titleSet > 99) {
        return std::nullopt;
    }
    std::array<char, 16> name{};
    for (const char* kind : {"IFO", "BUP"}) {
        std::snprintf(name.data(), name.size(), "VTS_%02d_0.%s", titleSet, kind);
        const std::string path = findFile(folder, name.data());
        if (path.empty()) {
            continue;
        }
        if (auto cells = cellsOfFile(path)) {
            return inSectorOrder(std::move(*cells));
        }
    }
    return std::nullopt;
}

}  // namespace trelvane::mci::timeline
