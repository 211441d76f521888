#include <string>
#include <vector>

#include "MovieModuleTest.h"

namespace trelvane::movie {
namespace {

class MovieModuleTimeOutTest : public MovieModuleTest {
protected:
    // Starts the wait at `startSeconds` past midnight; returns the seconds the
    // event loop ran, one step per pass.
    double waitedFrom(double startSeconds, double duration) {
        m_clock.set(startSeconds);
        const int passesBefore = m_eventPass.passes();
        m_module.timeOut(duration);
        return (m_eventPass.passes() - passesBefore) * kPassStep;
    }
};

TEST_F(MovieModuleTimeOutTest, WaitIsMeasuredFromTheNearestWholeSecond) {
    struct Case {
        double start;
        double duration;
        double end;
    };
    const std::vector<Case> cases = {
        {100.2, 1.0, 101.0},
        {100.7, 1.0, 102.0},
        {100.4, 0.5, 100.5},
        {100.6, 0.5, 101.5},
        // Halves go to the even neighbour.
        {100.5, 1.0, 101.0},
        {101.5, 1.0, 103.0},
        // The clock is read in single precision, where this is 101.5.
        {101.4999999, 1.0, 103.0},
        {100.2, 2.25, 102.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.start << ", duration " << c.duration);
        m_clock.set(c.start);
        m_module.timeOut(c.duration);
        EXPECT_NEAR(m_clock.now(), c.end, kPassStep * 1.01);
        // Single precision resolves about 8 microseconds at this time of day.
        EXPECT_GE(m_clock.now() - (c.end - c.duration), c.duration - 1e-5);
    }
}

TEST_F(MovieModuleTimeOutTest, EveryPassMaySleepUntilTheWaitsEndAndNoLonger) {
    // Passes sleep until an event comes; with none, the wait must still end
    // on time, so each pass is told when that is.
    for (const double start : {100.2, 100.7}) {
        SCOPED_TRACE(start);
        m_clock.set(start);
        const std::size_t before = m_eventPass.sleepLimits().size();
        m_module.timeOut(1.0);
        const double end = start < 100.5 ? 101.0 : 102.0;
        const std::vector<double>& limits = m_eventPass.sleepLimits();
        ASSERT_GT(limits.size(), before);
        for (std::size_t i = before; i < limits.size(); ++i) {
            // Single precision resolves about 8 microseconds at this time of day.
            EXPECT_NEAR(limits[i], end, 1e-5) << "pass " << i - before;
        }
    }
}

TEST_F(MovieModuleTimeOutTest, ZeroOrNegativeDurationsNeedNoPass) {
    EXPECT_EQ(waitedFrom(100.2, 0.0), 0.0);
    EXPECT_NEAR(waitedFrom(100.7, 0.0), 0.3, kPassStep * 1.01);
    for (const double start : {100.2, 100.5, 100.7, 101.5, 101.4999999}) {
        SCOPED_TRACE(start);
        EXPECT_EQ(waitedFrom(start, -0.5), 0.0);
        EXPECT_EQ(waitedFrom(start, -3.0), 0.0);
    }
}

TEST_F(MovieModuleTimeOutTest, WaitSendsNothingButHandlersInsideItDo) {
    m_module.setError(42);
    m_module.timeOut(1.0);
    EXPECT_TRUE(m_channel.sent().empty());
    EXPECT_EQ(m_module.Error(), 42);

    m_channel.reply(263);
    const int thirdPass = m_eventPass.passes() + 3;
    m_eventPass.setAction([this, thirdPass](int pass) {
        if (pass == thirdPass) {
            m_module.playMovie();
        }
    });
    m_clock.set(100.2);
    m_module.timeOut(0.5);
    EXPECT_EQ(m_channel.texts(), std::vector<std::string>{"play movie"});
    EXPECT_EQ(m_module.Error(), 263);
    EXPECT_NEAR(m_clock.now(), 100.5, kPassStep * 1.01);
}

TEST_F(MovieModuleTimeOutTest, WaitInsideAWaitEndsAndTheOuterOneResumes) {
    m_eventPass.setAction([this](int pass) {
        if (pass == 1) {
            m_module.timeOut(0.5);
        }
    });
    m_clock.set(100.2);
    m_module.timeOut(1.0);
    EXPECT_NEAR(m_clock.now(), 101.0, kPassStep * 1.01);
}

TEST_F(MovieModuleTimeOutTest, WaitAcrossMidnightStillEndsAfterAboutTheDuration) {
    struct Case {
        double start;
        double duration;
        double waited;
    };
    // The same waits as earlier in the day. Near midnight single precision
    // resolves only 1/128 s, and the step back to 0 may go uncounted.
    constexpr double kTolerance = 1.0 / 128 + kPassStep * 1.01;
    const std::vector<Case> cases = {
        {86399.2, 1.5, 1.3},
        {86399.7, 1.0, 1.3},
        {86399.9, 0.5, 0.6},
        {86399.6, 3.0, 3.4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        EXPECT_NEAR(waitedFrom(c.start, c.duration), c.waited, kTolerance);
        EXPECT_LT(m_clock.now(), 10.0) << "the wait should have crossed midnight";
    }
}

TEST_F(MovieModuleTimeOutTest, ClockSetBackDuringTheWaitDoesNotProlongIt) {
    // Daylight saving time ends: 03:00 becomes 02:00 again mid-wait.
    m_eventPass.setAction([this](int pass) {
        if (pass == 300) {
            m_clock.advance(-3600.0);
        }
    });
    EXPECT_NEAR(waitedFrom(10799.7, 1.0), 1.3, kPassStep * 2.01);
}

}  // namespace
}  // namespace trelvane::movie
