#include "mci/timeline/IfoPlace.h"

#include <sys/stat.h>

#include <cctype>

namespace trelvane::mci::timeline {
namespace {

constexpr std::uint64_t kSectorBytes = 2048;

std::optional<std::uint64_t> sizeOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

bool sameLetters(const std::string& name, const char* pattern) {
    for (std::size_t i = 0; pattern[i] != '\0'; ++i) {
        const char want = pattern[i];
        const auto have = static_cast<unsigned char>(name[i]);
        if (want == '#' ? std::isdigit(have) == 0
                        : std::toupper(have) != static_cast<unsigned char>(want)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<IfoPlace> placeOfPart(const std::string& path, std::uint64_t size) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // VTS_nn_k.VOB in either case, as copies from discs come in both.
    if (name.size() != 12 || !sameLetters(name, "VTS_##_#.VOB")) {
        return std::nullopt;
    }
    const int titleSet = (name[4] - '0') * 10 + (name[5] - '0');
    const int part = name[7] - '0';
    if (titleSet < 1 || part < 1 || size == 0 || size % kSectorBytes != 0 ||
        size / kSectorBytes > UINT32_MAX) {
        return std::nullopt;
    }
    std::uint64_t before = 0;
    std::string sibling = path;
    const std::size_t digit = path.size() - 5;
    for (int earlier = 1; earlier < part; ++earlier) {
        sibling[digit] = static_cast<char>('0' + earlier);
        const auto bytes = sizeOf(sibling);
        if (!bytes || *bytes == 0 || *bytes % kSectorBytes != 0) {
            return std::nullopt;
        }
        before += *bytes;
    }
    const std::uint64_t first = before / kSectorBytes;
    const std::uint64_t sectors = size / kSectorBytes;
    if (first + sectors > UINT32_MAX) {
        return std::nullopt;
    }
    bool lastPart = part == 9;
    if (!lastPart) {
        sibling[digit] = static_cast<char>('0' + part + 1);
        lastPart = !sizeOf(sibling);
    }
    return IfoPlace{folder, titleSet, static_cast<std::uint32_t>(first),
                    static_cast<std::uint32_t>(sectors), lastPart};
}

}  // namespace trelvane::mci::timeline
