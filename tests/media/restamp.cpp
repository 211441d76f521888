// Moves every clock of an MPEG-2 program stream on by the same amount, modulo
// the 33 bits the stamps have, so that the clock wraps round a chosen time
// into the file. No muxer writes clocks that far on by itself.
//
// usage: restamp FILE SECONDS_BEFORE_WRAP
//   after it, the first pack's clock lies SECONDS_BEFORE_WRAP before the wrap.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

constexpr std::uint64_t kWrap = std::uint64_t{1} << 33;

bool startCode(const std::vector<std::uint8_t>& b, std::size_t i) {
    return i + 3 < b.size() && b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1;
}

// A pack header's clock base: 01 a[3] 1 b[15] 1 c[15] 1, over six bytes.
std::uint64_t readScr(const std::uint8_t* p) {
    return (std::uint64_t{p[0] & 0x38u} << 27) | (std::uint64_t{p[0] & 0x03u} << 28) |
           (std::uint64_t{p[1]} << 20) | (std::uint64_t{p[2] & 0xF8u} << 12) |
           (std::uint64_t{p[2] & 0x03u} << 13) | (std::uint64_t{p[3]} << 5) |
           (std::uint64_t{p[4]} >> 3);
}

void writeScr(std::uint8_t* p, std::uint64_t v) {
    p[0] = static_cast<std::uint8_t>((p[0] & 0xC4) | ((v >> 27) & 0x38) | ((v >> 28) & 0x03));
    p[1] = static_cast<std::uint8_t>(v >> 20);
    p[2] = static_cast<std::uint8_t>((p[2] & 0x04) | ((v >> 12) & 0xF8) | ((v >> 13) & 0x03));
    p[3] = static_cast<std::uint8_t>(v >> 5);
    p[4] = static_cast<std::uint8_t>((p[4] & 0x07) | ((v << 3) & 0xF8));
}

// A packet's stamp: xxxx a[3] 1, b[15] 1, c[15] 1, over five bytes.
std::uint64_t readStamp(const std::uint8_t* p) {
    return (std::uint64_t{p[0] & 0x0Eu} << 29) | (std::uint64_t{p[1]} << 22) |
           (std::uint64_t{p[2] & 0xFEu} << 14) | (std::uint64_t{p[3]} << 7) |
           (std::uint64_t{p[4]} >> 1);
}

void writeStamp(std::uint8_t* p, std::uint64_t v) {
    p[0] = static_cast<std::uint8_t>((p[0] & 0xF1) | ((v >> 29) & 0x0E));
    p[1] = static_cast<std::uint8_t>(v >> 22);
    p[2] = static_cast<std::uint8_t>((p[2] & 0x01) | ((v >> 14) & 0xFE));
    p[3] = static_cast<std::uint8_t>(v >> 7);
    p[4] = static_cast<std::uint8_t>((p[4] & 0x01) | ((v << 1) & 0xFE));
}

bool hasStamps(std::uint8_t id) {
    return id == 0xBD || (id >= 0xC0 && id <= 0xEF);
}

// Shifts every clock by `shift`, or with none only reports the first pack's.
std::optional<std::uint64_t> walk(std::vector<std::uint8_t>& b,
                                  std::optional<std::uint64_t> shift) {
    std::optional<std::uint64_t> first;
    std::size_t i = 0;
    while (i + 14 <= b.size()) {
        if (!startCode(b, i)) {
            ++i;
            continue;
        }
        const std::uint8_t id = b[i + 3];
        if (id == 0xBA) {
            if ((b[i + 4] & 0xC0) != 0x40) {
                return std::nullopt;  // only MPEG-2 packs
            }
            const std::uint64_t scr = readScr(&b[i + 4]);
            first = first.value_or(scr);
            if (shift) {
                writeScr(&b[i + 4], (scr + *shift) % kWrap);
            }
            i += 14 + (b[i + 13] & 0x07);
            continue;
        }
        const std::size_t length = (std::size_t{b[i + 4]} << 8) | b[i + 5];
        if (hasStamps(id) && i + 9 <= b.size() && (b[i + 6] & 0xC0) == 0x80 && shift) {
            const std::uint8_t flags = b[i + 7] >> 6;
            for (int k = 0; k < (flags == 3 ? 2 : flags == 2 ? 1 : 0); ++k) {
                std::uint8_t* at = &b[i + 9 + 5 * static_cast<std::size_t>(k)];
                writeStamp(at, (readStamp(at) + *shift) % kWrap);
            }
        }
        i += 6 + length;
    }
    return first;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: restamp FILE SECONDS_BEFORE_WRAP\n");
        return 2;
    }
    const int fd = ::open(argv[1], O_RDWR);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    if (::pread(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
        std::perror("read");
        return 1;
    }
    const auto first = walk(bytes, std::nullopt);
    if (!first) {
        std::fprintf(stderr, "%s: no MPEG-2 packs\n", argv[1]);
        return 1;
    }
    const auto before = static_cast<std::uint64_t>(std::atof(argv[2]) * 90000.0);
    const std::uint64_t shift = (kWrap - before - *first % kWrap + kWrap) % kWrap;
    walk(bytes, shift);
    if (::pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()) ||
        ::close(fd) != 0) {
        std::perror("write");
        return 1;
    }
    return 0;
}
