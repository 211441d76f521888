#include <gtest/gtest.h>

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

struct Followed {
    std::int64_t markSecond = 0;
    std::int64_t lastSecondSeen = -1;
    long wakeUps = 0;
};

// The preview's loop on the real player: ask for the position, sleep until
// something happens, ask again, until the position reaches the second three
// seconds on. Nothing but the player wakes this thread.
Followed followThreeSeconds(const std::string& file) {
    ThreadWakeUp wakeUp;
    mci::MediaService service(std::make_unique<mci::MpvPlayerFactory>(
        mci::PlayerOutputs{"null", "null"}, wakeUp.waker()));
    const std::string open = "open \"" + testing::mediaPath(file) + "\" type mpegvideo alias movie";
    Followed followed;
    EXPECT_EQ(service.sendCommand(open.c_str(), nullptr, 0, 0), 0u);
    EXPECT_EQ(service.sendCommand("set movie time format ms", nullptr, 0, 0), 0u);
    followed.markSecond = positionMs(service) / 1000 + 3;
    EXPECT_EQ(service.sendCommand("play movie", nullptr, 0, 0), 0u);
    QtEventPass pass;
    std::int64_t now = positionMs(service);
    for (int passes = 0; now / 1000 < followed.markSecond && passes < 1000; ++passes) {
        // Far longer than the whole stretch: only the player ends it early.
        pass.runOnePassWaitingAtMost(std::chrono::seconds(30));
        now = positionMs(service);
    }
    followed.lastSecondSeen = now / 1000;
    followed.wakeUps = wakeUp.handled();
    service.sendCommand("close all", nullptr, 0, 0);
    return followed;
}

TEST(PlayerWakeUp, PlayingMovieWakesTheLoopOnceASecondAtTheNewSecond) {
    const Followed followed = followThreeSeconds("ntsc60.vob");
    // The loop learnt of the mark's second while it lasted: woken at its
    // first frame, not by the far limit.
    EXPECT_EQ(followed.lastSecondSeen, followed.markSecond);
    // Once a second, not once a frame: about 90 frames went by.
    EXPECT_GE(followed.wakeUps, 2);
    EXPECT_LE(followed.wakeUps, 8);
}

TEST(PlayerWakeUp, FileWhoseClocksRestartWakesTheLoopInTime) {
    // Played on the timeline of its packs rather than on the player's clock:
    // the loop is woken in time there too.
    const Followed followed = followThreeSeconds("joined-ntsc.vob");
    EXPECT_EQ(followed.lastSecondSeen, followed.markSecond);
    EXPECT_GE(followed.wakeUps, 2);
}

}  // namespace
}  // namespace trelvane::ui
