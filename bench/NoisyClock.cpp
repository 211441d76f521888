// Overwrites the clock (SCR) of every pack of a program stream with random
// values and leaves everything else, the PES stamps among it, as it was: a
// file the player plays normally but whose pack clocks say nothing.
//
// usage: noisy_clock IN OUT SEED
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

namespace {

// Writes a 33-bit base and 9-bit extension into an MPEG-2 pack header,
// keeping its marker bits.
void writeScr(std::uint8_t* h, std::uint64_t base, std::uint64_t extension) {
    h[4] = static_cast<std::uint8_t>(0x44 | ((base >> 27) & 0x38) | ((base >> 28) & 0x03));
    h[5] = static_cast<std::uint8_t>(base >> 20);
    h[6] = static_cast<std::uint8_t>(((base >> 12) & 0xF8) | 0x04 | ((base >> 13) & 0x03));
    h[7] = static_cast<std::uint8_t>(base >> 5);
    h[8] = static_cast<std::uint8_t>(((base << 3) & 0xF8) | 0x04 | ((extension >> 7) & 0x03));
    h[9] = static_cast<std::uint8_t>(((extension << 1) & 0xFE) | 0x01);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: noisy_clock IN OUT SEED\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary | std::ios::ate);
    std::vector<std::uint8_t> bytes(in ? static_cast<std::size_t>(in.tellg()) : 0);
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size())) ||
        bytes.empty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::mt19937_64 random(std::strtoull(argv[3], nullptr, 10));
    // Up to an hour of clock, anywhere: far off the stamps.
    std::uniform_int_distribution<std::uint64_t> base(0, 3600ULL * 90'000);
    long rewritten = 0;
    for (std::size_t i = 0; i + 14 <= bytes.size(); ++i) {
        std::uint8_t* h = bytes.data() + i;
        if (h[0] == 0 && h[1] == 0 && h[2] == 1 && h[3] == 0xBA && (h[4] & 0xC0) == 0x40) {
            writeScr(h, base(random), 0);
            ++rewritten;
            i += 13;
        }
    }
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out || rewritten == 0) {
        std::fprintf(stderr, "wrote %ld clocks to %s\n", rewritten, argv[2]);
        return 1;
    }
    return 0;
}
