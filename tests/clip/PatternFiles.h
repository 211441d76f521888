#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Files whose bytes tell where they came from: the byte at 1-based position
// p is ((p - 1) * 31 + 7) & 0xff, so a byte taken from the wrong place, or a
// stale one, shows.
namespace trelvane::clip::testing {

using Bytes = std::vector<std::byte>;

inline std::byte patternByte(std::int64_t position) {
    return static_cast<std::byte>(((position - 1) * 31 + 7) & 0xff);
}

// The bytes a clip should hold: `count` source bytes from `position` on, and
// zeros for whatever lies past the source's end.
inline Bytes patternFrom(std::int64_t position, std::int64_t count, std::int64_t sourceLength) {
    Bytes bytes;
    for (std::int64_t p = position; p < position + count; ++p) {
        bytes.push_back(p <= sourceLength ? patternByte(p) : std::byte{0});
    }
    return bytes;
}

inline void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void writePattern(const std::string& path, std::int64_t length) {
    writeBytes(path, patternFrom(1, length, length));
}

inline Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes;
    for (auto it = std::istreambuf_iterator<char>(in); it != std::istreambuf_iterator<char>();
         ++it) {
        bytes.push_back(static_cast<std::byte>(*it));
    }
    return bytes;
}

}  // namespace trelvane::clip::testing
