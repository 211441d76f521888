// How long an open takes against the size of the file: the program's media
// service opens a movie, plays it and reports its length, on files
// of 10 MiB, 100 MiB and 1 GiB joined from a sample (clocks restarting at
// every join) and read once so that they sit in the page cache, or on the
// files named. Beside each figure, the same steps on the player library alone.
//
// Run under the slow medium (libslow_medium.so in LD_PRELOAD), each figure
// also shows the seeks the drive was charged for during the open.
//
// usage: open_bench SAMPLE.vob DIR [RUNS [FILE...]]
//   the joined files are made in DIR (and kept there for later runs)

#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

// The counters of the slow medium, when it is loaded.
class SlowMedium {
public:
    SlowMedium()
        : m_seeks(reinterpret_cast<long (*)()>(dlsym(RTLD_DEFAULT, "slowMediumSeeks"))),
          m_forget(reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "slowMediumForget"))) {}

    bool loaded() const { return m_seeks != nullptr && m_forget != nullptr; }

    // Times `open` from a drive whose head is elsewhere, with its seeks.
    OpenTimes measure(const std::function<OpenTimes()>& open) const {
        if (!loaded()) {
            return open();
        }
        m_forget();
        const long before = m_seeks();
        OpenTimes times = open();
        times.seeks = static_cast<double>(m_seeks() - before);
        return times;
    }

private:
    long (*m_seeks)();
    void (*m_forget)();
};

std::string steps(const OpenTimes& times) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "opened %.0f ms, playing %.0f ms, length %.0f ms (length %ld s)", times.openMs,
                  times.playingMs, times.lengthMs, times.movieLengthMs / 1000);
    std::string line = text;
    if (times.seeks >= 0) {
        std::snprintf(text, sizeof text, ", %.0f seeks", times.seeks);
        line += text;
    }
    return line;
}

std::int64_t fileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

void measure(const std::string& path, const std::string& what, int runs) {
    const SlowMedium medium;
    if (!medium.loaded()) {  // under it, reading the file through would cost minutes
        JoinedMovie::readThrough(path);
    }
    std::vector<OpenTimes> ours;
    std::vector<OpenTimes> plain;
    // Taken in turn, so that neither gains from running after the other.
    for (int run = 0; run < runs; ++run) {
        ours.push_back(
            medium.measure([&path] { return trelvane::bench::ServiceOpenProbe::measure(path); }));
        plain.push_back(
            medium.measure([&path] { return trelvane::bench::PlainMpvOpenProbe::measure(path); }));
    }
    std::printf("open of %lld MiB (%s): %s; plain libmpv: %s; median of %d\n",
                static_cast<long long>(fileSize(path) / kMiB), what.c_str(),
                steps(OpenTimes::median(ours)).c_str(), steps(OpenTimes::median(plain)).c_str(),
                runs);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: open_bench SAMPLE.vob DIR [RUNS [FILE...]]\n");
        return 2;
    }
    const std::string sample = argv[1];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    // The first open in a process loads the decoders and output drivers;
    // that cost is the program's start, not the open of a file of any size.
    JoinedMovie::readThrough(sample);
    trelvane::bench::ServiceOpenProbe::measure(sample);
    trelvane::bench::PlainMpvOpenProbe::measure(sample);
    if (argc > 4) {
        for (int i = 4; i < argc; ++i) {
            const std::string path = argv[i];
            measure(path, path.substr(path.find_last_of('/') + 1), runs);
        }
        return 0;
    }
    for (const std::int64_t mib : {10, 100, 1024}) {
        const std::string path =
            std::string(argv[2]) + "/open-bench-" + std::to_string(mib) + "MiB.vob";
        if (!JoinedMovie::make(sample, path, mib * kMiB)) {
            return 1;
        }
        const std::int64_t parts = JoinedMovie::parts(mib * kMiB, fileSize(sample));
        measure(path, std::to_string(parts) + " joined parts", runs);
    }
    return 0;
}
