#include "mci/timeline/IfoBounds.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trelvane::mci::timeline {
namespace {

constexpr std::uint64_t kSectorBytes = 2048;

// Where the management table keeps each table's first sector, and where
// that table's header keeps its last byte: the address map has no count
// before it, the others a 16-bit count and a 16-bit pad.
struct TablePointer {
    std::uint32_t at;
    std::uint32_t lastByteAt;
};
constexpr std::array<TablePointer, 8> kTables{{
    {0xC8, 4},  // parts of titles
    {0xCC, 4},  // program chains
    {0xD0, 4},  // menu program chains
    {0xD4, 4},  // time maps
    {0xD8, 4},  // menu cell addresses
    {0xDC, 0},  // menu picture group addresses
    {0xE0, 4},  // cell addresses
    {0xE4, 0},  // picture group addresses
}};
constexpr std::uint32_t kPointersEnd = 0xE8;

struct Fd {
    explicit Fd(const std::string& path) : value(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~Fd() {
        if (value >= 0) {
            ::close(value);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int value;
};

std::optional<std::uint32_t> bigEndian32(int fd, std::uint64_t offset) {
    std::array<unsigned char, 4> bytes{};
    if (::pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) !=
        static_cast<ssize_t>(bytes.size())) {
        return std::nullopt;
    }
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

// The file `name` in the first of the folders the library looks in that
// holds it, whatever the case of its letters; empty where none does.
std::string findFile(const std::string& folder, const char* name) {
    for (const std::string& place : {folder, folder + "/VIDEO_TS", folder + "/video_ts"}) {
        DIR* dir = ::opendir(place.c_str());
        if (dir == nullptr) {
            continue;
        }
        std::string found;
        while (const dirent* entry = ::readdir(dir)) {
            if (::strcasecmp(entry->d_name, name) == 0) {
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

// A title set's file whose every table the file holds the header of ends
// within `limit` bytes. Tables the file does not reach are the library's to
// refuse.
bool soundWithin(int fd, std::uint64_t limit) {
    constexpr std::string_view kTitleSet = "DVDVIDEO-VTS";
    std::array<char, kTitleSet.size()> identifier{};
    const ssize_t got = ::pread(fd, identifier.data(), identifier.size(), 0);
    if (got < 0 || (got == static_cast<ssize_t>(identifier.size()) &&
                    std::string_view(identifier.data(), identifier.size()) != kTitleSet)) {
        return false;
    }
    for (const TablePointer& table : kTables) {
        const auto sector = bigEndian32(fd, table.at);
        if (!sector) {
            return true;  // no management table: the library reads nothing further
        }
        if (*sector == 0) {
            continue;  // no such table
        }
        const std::uint64_t start = *sector * kSectorBytes;
        const auto lastByte = bigEndian32(fd, start + table.lastByteAt);
        if (lastByte && start + *lastByte >= limit) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ifoSafeToRead(const std::string& folder, int titleSet) {
    std::array<char, 16> ifo{};
    std::array<char, 16> bup{};
    std::snprintf(ifo.data(), ifo.size(), "VTS_%02d_0.IFO", titleSet);
    std::snprintf(bup.data(), bup.size(), "VTS_%02d_0.BUP", titleSet);
    std::vector<std::string> files;
    for (const char* name : {ifo.data(), bup.data()}) {
        if (std::string path = findFile(folder, name); !path.empty()) {
            files.push_back(std::move(path));
        }
    }
    // Either copy may be the one read, so both answer to the larger: a copy
    // cut short still lists tables the whole one holds.
    std::uint64_t limit = kPointersEnd;
    for (const std::string& path : files) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            limit = std::max(limit, static_cast<std::uint64_t>(info.st_size));
        }
    }
    for (const std::string& path : files) {
        const Fd fd(path);
        if (fd.value >= 0 && !soundWithin(fd.value, limit)) {
            return false;
        }
    }
    return true;
}

}  // namespace trelvane::mci::timeline
