#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <thread>

#include "mci/mpv/MpvHandle.h"
#include "movie/MovieModule.h"
#include "movie/SystemTimeOfDayClock.h"
#include "ui/qt/QtEventPass.h"
#include "ui/qt/ThreadWakeUp.h"

namespace trelvane::ui {
namespace {

// The real pass, counted.
class CountedPass : public movie::EventPass {
public:
    void runOnePass() override {
        ++passes;
        m_pass.runOnePass();
    }
    void runOnePassWaitingAtMost(std::chrono::duration<double> longestWait) override {
        ++passes;
        m_pass.runOnePassWaitingAtMost(longestWait);
    }
    int passes = 0;

private:
    QtEventPass m_pass;
};

// A channel that answers nothing: the waits below send no command.
class SilentChannel : public movie::CommandChannel {
public:
    std::uint32_t sendCommand(const char*, char*, std::uint32_t, std::uintptr_t) override {
        return 0;
    }
};

TEST(QtEventPass, HandlesWhatIsPendingInOnePass) {
    QtEventPass pass;
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { ++fired; }, Qt::QueuedConnection);
    pass.runOnePass();
    EXPECT_EQ(fired, 2);
}

TEST(QtEventPass, MovieWaitSleepsWhenNothingHappensAndStillLetsHandlersRun) {
    SilentChannel channel;
    movie::SystemTimeOfDayClock clock;
    CountedPass pass;
    movie::MovieModule module(channel, clock, pass);
    // A second measured from the nearest whole second lasts at least half a
    // second. With nothing to handle, the passes sleep until the wait's
    // end: a pass that woke on a clock of its own every few milliseconds
    // would run a hundred times or more.
    module.timeOut(1.0);
    EXPECT_GE(pass.passes, 1);
    EXPECT_LE(pass.passes, 4);

    bool ranInside = false;
    QTimer::singleShot(0, [&] { ranInside = true; });
    module.timeOut(1.0);
    EXPECT_TRUE(ranInside);
}

TEST(QtEventPass, WakeUpFromAnotherThreadEndsASleepingPass) {
    ThreadWakeUp wakeUp;
    QtEventPass pass;
    const std::function<void()> wake = wakeUp.waker();
    // Passes until the wake-up is handled; a pass may first return for
    // whatever Qt had pending. Nothing else in this process could end a
    // sleeping pass: without the wake-up the loop would sleep on.
    const auto passUntilHandled = [&](long count) {
        for (int passes = 0; wakeUp.handled() < count && passes < 20; ++passes) {
            pass.runOnePass();
        }
    };
    // Whether the thread signals before or after the pass falls asleep.
    std::thread other([&] { wake(); });
    passUntilHandled(1);
    other.join();
    EXPECT_EQ(wakeUp.handled(), 1);

    // Several before the loop gets to them count as one.
    wake();
    wake();
    wake();
    passUntilHandled(2);
    pass.runOnePassWaitingAtMost(std::chrono::milliseconds(20));
    EXPECT_EQ(wakeUp.handled(), 2);
}

TEST(QtEventPass, HandlingPendingEventsNeverWaits) {
    QtEventPass pass;
    // A timer due later is not waited for, unlike in runOnePass.
    bool timerFired = false;
    QTimer later;
    later.setSingleShot(true);
    QObject::connect(&later, &QTimer::timeout, [&] { timerFired = true; });
    later.start(60'000);
    pass.handlePendingEvents();
    EXPECT_FALSE(timerFired);

    // What is pending is handled within the next turns, however fast they come.
    bool queuedRan = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { queuedRan = true; }, Qt::QueuedConnection);
    const QDeadlineTimer deadline(1000);
    while (!queuedRan && !deadline.hasExpired()) {
        pass.handlePendingEvents();
    }
    EXPECT_TRUE(queuedRan);
    EXPECT_FALSE(timerFired);
}

}  // namespace
}  // namespace trelvane::ui

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    trelvane::mci::useCoreNumberFormat();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
