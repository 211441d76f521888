// The time index's reads of each file named, counted by a counting reader
// around the file's own: looks, far looks (a seek on a drive), bytes, and
// what a DVD drive (100 ms a seek, 11 MB/s) would charge for them, beside
// the length found. Quick to run against any file; the open bench under the
// slow medium gives the figures of the whole program.
//
// usage: index_bench FILE...
#include <cstdio>

#include "mci/timeline/CountingReader.h"
#include "mci/timeline/PackReader.h"
#include "mci/timeline/TimelineBuilder.h"

int main(int argc, char** argv) {
    using namespace trelvane::mci::timeline;
    constexpr double kSeekSeconds = 0.1;
    constexpr double kBytesPerSecond = 11e6;
    for (int i = 1; i < argc; ++i) {
        PackReader file;
        if (!file.open(argv[i])) {
            std::fprintf(stderr, "cannot open %s\n", argv[i]);
            return 1;
        }
        CountingReader counted(file);
        const auto timeline = TimelineBuilder(counted).build();
        const double drive = counted.farReads() * kSeekSeconds +
                             static_cast<double>(file.tally().bytes) / kBytesPerSecond;
        std::printf(
            "%s: %s %lld ms in %zu stretches; %d looks, %d far, %.1f MB read "
            "(%.2f x the file), DVD model %.1f s\n",
            argv[i], timeline ? "length" : "no timeline (the player's clock)",
            timeline ? static_cast<long long>(timeline->lengthMs()) : 0LL,
            timeline ? timeline->segmentCount() : 0, counted.reads(), counted.farReads(),
            static_cast<double>(file.tally().bytes) / 1e6,
            static_cast<double>(file.tally().bytes) / static_cast<double>(file.size()), drive);
    }
    return 0;
}
