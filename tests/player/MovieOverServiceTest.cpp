#include <gtest/gtest.h>

#include <thread>

#include "PlayerSession.h"
#include "movie/EventPass.h"
#include "movie/MovieModule.h"
#include "movie/ServiceChannel.h"
#include "movie/SystemTimeOfDayClock.h"

namespace trelvane::testing {
namespace {

// No window here: a pass only gives the other threads a turn.
class YieldingEventPass : public movie::EventPass {
public:
    void runOnePass() override {
        ++m_passes;
        std::this_thread::yield();
    }
    int passes() const { return m_passes; }

private:
    int m_passes = 0;
};

class MovieOverService : public ::testing::Test {
protected:
    PlayerSession session;
    movie::SystemTimeOfDayClock clock;
    YieldingEventPass pass;
    movie::ServiceChannel<mci::MediaService> channel{session.service()};
    movie::MovieModule module{channel, clock, pass};
};

TEST_F(MovieOverService, TheMovieControlDrivesARealPlayer) {
    module.setFilename(mediaPath("ntsc60.vob"));
    module.openMovie();
    EXPECT_EQ(module.Error(), 0);
    EXPECT_NEAR(module.getLengthInMS(), probedLengthMs("ntsc60.vob"), 100);
    EXPECT_EQ(module.getLengthInSec(), 60);
    EXPECT_FALSE(module.isMoviePlaying());

    module.playMovie();
    module.timeOut(0.5);
    EXPECT_GT(pass.passes(), 0);
    EXPECT_TRUE(module.isMoviePlaying());

    // Playing: the new position plays on.
    module.setPositionTo(30);
    EXPECT_TRUE(module.isMoviePlaying());
    EXPECT_GE(module.getPositionInSec(), 30);
    EXPECT_LE(module.getPositionInSec(), 31);

    // Paused: the movie only moves there.
    module.pauseMovie();
    EXPECT_FALSE(module.isMoviePlaying());
    module.setPositionTo(10);
    EXPECT_EQ(module.getPositionInMS(), 10000);
    EXPECT_FALSE(module.isMoviePlaying());
    EXPECT_EQ(module.Error(), 0);

    // Once closed, queries fail: the status lands in Error, and the failed
    // answer is an empty text, which reads as 0.
    module.closeMovie();
    EXPECT_EQ(module.Error(), 0);
    EXPECT_EQ(module.getPositionInMS(), 0);
    EXPECT_EQ(module.Error(), 263);
}

TEST_F(MovieOverService, OpeningAMissingFileIsOnlyRecorded) {
    module.setFilename(mediaPath("missing.vob"));
    module.openMovieWindow(0, "child");
    EXPECT_EQ(module.Error(), 275);
    module.playMovie();
    EXPECT_EQ(module.Error(), 263);
    EXPECT_FALSE(module.isMoviePlaying());
}

}  // namespace
}  // namespace trelvane::testing
