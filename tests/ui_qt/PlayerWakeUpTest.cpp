#include <gtest/gtest.h>

#include <set>

#include "PlayerSession.h"
#include "mci/mpv/MpvPlayerFactory.h"
#include "ui/qt/QtEventPass.h"
#include "ui/qt/ThreadWakeUp.h"

namespace trelvane::ui {
namespace {

std::int64_t positionMs(mci::MediaService& service) {
    char answer[128] = {};
    EXPECT_EQ(service.sendCommand("status movie position", answer, sizeof answer, 0), 0u);
    return std::atoll(answer);
}

// The preview's loop on the real player: ask for the position, sleep until
// something happens, ask again. Nothing but the player wakes this thread, so
// each pass that ends before its far limit was ended by the playing movie.
TEST(PlayerWakeUp, PlayingMovieWakesTheLoopAsItsPositionAdvances) {
    ThreadWakeUp wakeUp;
    mci::MediaService service(std::make_unique<mci::MpvPlayerFactory>(
        mci::PlayerOutputs{"null", "null"}, wakeUp.waker()));
    const std::string open =
        "open \"" + testing::mediaPath("ntsc60.vob") + "\" type mpegvideo alias movie";
    ASSERT_EQ(service.sendCommand(open.c_str(), nullptr, 0, 0), 0u);
    ASSERT_EQ(service.sendCommand("set movie time format ms", nullptr, 0, 0), 0u);
    const std::int64_t mark = positionMs(service) + 2000;
    ASSERT_EQ(service.sendCommand("play movie", nullptr, 0, 0), 0u);

    QtEventPass pass;
    std::set<std::int64_t> seen;
    int passes = 0;
    for (std::int64_t now = positionMs(service); now < mark && passes < 1000;
         now = positionMs(service)) {
        seen.insert(now);
        // Far longer than the whole stretch: a loop that only the limit
        // ended would see the position two or three times.
        pass.runOnePassWaitingAtMost(std::chrono::seconds(30));
        ++passes;
    }
    // About 30 frames a second for 2 s: the loop saw the position move on
    // frame by frame, each time woken by the player.
    EXPECT_GE(seen.size(), 20u);
    EXPECT_GE(wakeUp.handled(), 20);
    EXPECT_GE(positionMs(service), mark);
    service.sendCommand("close all", nullptr, 0, 0);
}

}  // namespace
}  // namespace trelvane::ui
