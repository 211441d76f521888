// How long an open takes against the size of the file: the program's media
// service opens a movie, reports its length and starts playing it, on files
// of 10 MiB, 100 MiB and 1 GiB joined from a sample (clocks restarting at
// every join) and read once so that they sit in the page cache. Beside each
// figure, the same steps on the player library alone.
//
// usage: open_bench SAMPLE.vob DIR [RUNS]
//   the joined files are made in DIR (and kept there for later runs)

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "JoinedMovie.h"
#include "OpenTimes.h"
#include "PlainMpvOpenProbe.h"
#include "ServiceOpenProbe.h"

namespace {

using trelvane::bench::JoinedMovie;
using trelvane::bench::OpenTimes;

constexpr std::int64_t kMiB = 1 << 20;

std::string steps(const OpenTimes& times) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "opened %.0f ms, length %.0f ms, playing %.0f ms (length %ld s)", times.openMs,
                  times.lengthMs, times.playingMs, times.movieLengthMs / 1000);
    return text;
}

bool measure(const std::string& sample, const std::string& dir, std::int64_t mib, int runs) {
    const std::string path = dir + "/open-bench-" + std::to_string(mib) + "MiB.vob";
    if (!JoinedMovie::make(sample, path, mib * kMiB)) {
        return false;
    }
    JoinedMovie::readThrough(path);
    std::vector<OpenTimes> ours;
    std::vector<OpenTimes> plain;
    // Taken in turn, so that neither gains from running after the other.
    for (int run = 0; run < runs; ++run) {
        ours.push_back(trelvane::bench::ServiceOpenProbe::measure(path));
        plain.push_back(trelvane::bench::PlainMpvOpenProbe::measure(path));
    }
    struct stat info {};
    ::stat(sample.c_str(), &info);
    std::printf("open of %lld MiB (%lld joined parts): %s; plain libmpv: %s; median of %d\n",
                static_cast<long long>(mib),
                static_cast<long long>(JoinedMovie::parts(mib * kMiB, info.st_size)),
                steps(OpenTimes::median(ours)).c_str(), steps(OpenTimes::median(plain)).c_str(),
                runs);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: open_bench SAMPLE.vob DIR [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    // The first open in a process loads the decoders and output drivers;
    // that cost is the program's start, not the open of a file of any size.
    JoinedMovie::readThrough(argv[1]);
    trelvane::bench::ServiceOpenProbe::measure(argv[1]);
    trelvane::bench::PlainMpvOpenProbe::measure(argv[1]);
    for (const std::int64_t mib : {10, 100, 1024}) {
        if (!measure(argv[1], argv[2], mib, runs)) {
            return 1;
        }
    }
    return 0;
}
