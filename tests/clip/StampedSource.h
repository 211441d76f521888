#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "PatternFiles.h"

// Sources of any size, sparse where nothing is asked of them: only the
// stretches a test names are written, each byte telling its own position
// (the offset of its 8-byte word, xor a mask, little end first), so a clip
// taken from the wrong place shows even 2^32 bytes away.
namespace trelvane::clip::testing {

inline std::byte stampByte(std::int64_t position) {
    const std::uint64_t offset = static_cast<std::uint64_t>(position - 1);
    const std::uint64_t word = (offset & ~std::uint64_t{7}) ^ 0xa5c3'5a3c'a5c3'5a3cULL;
    return static_cast<std::byte>((word >> (8 * (offset & 7))) & 0xff);
}

// A file of `size` bytes holding stamps at the 1-based positions of each
// stretch [first, last], zeros elsewhere. Returns false when it cannot be made.
inline bool makeStampedSource(const std::string& path, std::int64_t size,
                              const std::vector<std::pair<std::int64_t, std::int64_t>>& stretches) {
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) {
        return false;
    }
    bool ok = ::ftruncate(file, size) == 0;
    for (const auto& [first, last] : stretches) {
        const std::int64_t from = std::max<std::int64_t>(first, 1);
        const std::int64_t to = std::min(last, size);
        Bytes bytes;
        for (std::int64_t p = from; p <= to; ++p) {
            bytes.push_back(stampByte(p));
        }
        ok = ok && ::pwrite(file, bytes.data(), bytes.size(), from - 1) ==
                       static_cast<ssize_t>(bytes.size());
    }
    ::close(file);
    return ok;
}

// What a clip of `count` bytes from `position` holds when the source's
// stretch there was stamped: zeros past the source's end.
inline Bytes stampedFrom(std::int64_t position, std::int64_t count, std::int64_t sourceSize) {
    Bytes bytes;
    bytes.reserve(static_cast<std::size_t>(count));
    for (std::int64_t p = position; p < position + count; ++p) {
        bytes.push_back(p <= sourceSize ? stampByte(p) : std::byte{0});
    }
    return bytes;
}

}  // namespace trelvane::clip::testing
