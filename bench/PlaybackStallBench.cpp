// How smoothly a movie plays while its time index is built beside it: the
// media service opens the file and plays it at once, and for the first 10 s
// the position is read every 5 ms; the figure is the longest stretch of wall
// time over which it did not move (at 25 pictures a second it moves every
// 40 ms). Run it under the slow medium, where the index's reads and the
// player's share one drive.
//
// usage: playback_stall_bench FILE [RUNS]

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "mci/MediaService.h"
#include "mci/mpv/MpvPlayerFactory.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double longestStallMs = -1;
    long playedMs = 0;  // how far the movie got in the 10 s
};

Figures measure(const std::string& path) {
    if (auto forget = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "slowMediumForget"))) {
        forget();
    }
    trelvane::mci::MediaService service(std::make_unique<trelvane::mci::MpvPlayerFactory>(
        trelvane::mci::PlayerOutputs{"null", "null"}));
    char answer[128] = {};
    const auto send = [&](const std::string& command) {
        return service.sendCommand(command.c_str(), answer, sizeof answer, 0) == 0;
    };
    Figures figures;
    if (!send("open \"" + path + "\" type mpegvideo alias movie") ||
        !send("set movie time format ms") || !send("play movie")) {
        return figures;
    }
    const auto end = Clock::now() + std::chrono::seconds(10);
    long last = -1;
    auto movedAt = Clock::now();
    double longest = 0;
    while (Clock::now() < end) {
        if (!send("status movie position")) {
            break;
        }
        const long position = std::atol(answer);
        const auto now = Clock::now();
        if (position != last) {
            last = position;
            movedAt = now;
        }
        longest =
            std::max(longest, std::chrono::duration<double, std::milli>(now - movedAt).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    figures.longestStallMs = longest;
    figures.playedMs = last;
    send("close all");
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: playback_stall_bench FILE [RUNS]\n");
        return 2;
    }
    const std::string path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::vector<double> stalls;
    std::vector<long> played;
    for (int run = 0; run < runs; ++run) {
        const Figures figures = measure(path);
        stalls.push_back(figures.longestStallMs);
        played.push_back(figures.playedMs);
    }
    std::sort(stalls.begin(), stalls.end());
    std::sort(played.begin(), played.end());
    const std::string name = path.substr(path.find_last_of('/') + 1);
    std::printf(
        "playback of %s, first 10 s: longest stall %.0f ms, played to %ld ms; median of %d\n",
        name.c_str(), stalls[stalls.size() / 2], played[played.size() / 2], runs);
    return 0;
}
