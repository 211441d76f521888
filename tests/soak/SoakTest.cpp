#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>

#include "PlayerSession.h"

namespace trelvane::testing {
namespace {

constexpr int kCycles = 200;
// The first cycles warm up what the player core and the allocator keep for
// good (threads' arenas, decoder tables); growth is counted after them.
constexpr int kWarmUpCycles = 10;
constexpr std::int64_t kAllowedGrowth = 8 << 20;

std::int64_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t sizePages = 0;
    std::int64_t residentPages = -1;
    statm >> sizePages >> residentPages;
    return residentPages * ::sysconf(_SC_PAGESIZE);
}

// One user's turn: open a movie, play it until pictures move, close it.
void openPlayClose(PlayerSession& session, const std::string& movie) {
    ASSERT_EQ(session.send("open \"" + mediaPath(movie) + "\" type mpegvideo alias movie").status,
              0u);
    ASSERT_EQ(session.send("set movie time format ms").status, 0u);
    ASSERT_EQ(session.send("play movie").status, 0u);
    ASSERT_TRUE(waitUntil([&] { return session.number("status movie position") > 0; },
                          std::chrono::seconds(10)))
        << movie << " did not start playing";
    ASSERT_EQ(session.send("close movie").status, 0u);
}

// Alternates a plain movie with one whose clocks restart, so that the time
// index and its segmented playback are opened and dropped as often.
TEST(Soak, OpeningPlayingAndClosingAgainAndAgainKeepsMemoryFlat) {
    // Each player's threads get allocator arenas of their own, up to eight
    // per core, and each arena keeps what it once held: resident memory then
    // climbs by tens of MiB for dozens of cycles before it levels off, far
    // more than a leak would add. One arena leaves only what is really kept.
    ASSERT_EQ(mallopt(M_ARENA_MAX, 1), 1);
    PlayerSession session;
    std::int64_t afterWarmUp = 0;
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        const std::string movie = cycle % 2 == 1 ? "ntsc60.vob" : "joined-ntsc.vob";
        ASSERT_NO_FATAL_FAILURE(openPlayClose(session, movie)) << "cycle " << cycle;
        if (cycle == kWarmUpCycles) {
            afterWarmUp = residentBytes();
        }
    }
    const std::int64_t atEnd = residentBytes();
    std::cout << "resident after cycle " << kWarmUpCycles << ": " << afterWarmUp / 1024
              << " KiB, after cycle " << kCycles << ": " << atEnd / 1024 << " KiB\n";
    EXPECT_LE(atEnd - afterWarmUp, kAllowedGrowth)
        << "resident memory grew by " << (atEnd - afterWarmUp) / 1024 << " KiB over "
        << kCycles - kWarmUpCycles << " cycles";
}

}  // namespace
}  // namespace trelvane::testing
