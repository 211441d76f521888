#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include "movie/MovieModule.h"
#include "movie/SystemTimeOfDayClock.h"
#include "ui/QtEventPass.h"

namespace trelvane::ui {
namespace {

TEST(QtEventPass, HandlesWhatIsPendingInOnePass) {
    QtEventPass pass;
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { ++fired; }, Qt::QueuedConnection);
    pass.runOnePass();
    EXPECT_EQ(fired, 2);
}

TEST(QtEventPass, WaitsForTheNextEventInsteadOfSpinning) {
    QtEventPass pass;
    bool fired = false;
    QTimer::singleShot(100, [&] { fired = true; });
    int passes = 0;
    while (!fired && passes < 100000) {
        pass.runOnePass();
        ++passes;
    }
    EXPECT_TRUE(fired);
    // A pass that returned at once when idle would run thousands of times in
    // 100 ms; one that waits for the next event runs a few dozen at most.
    EXPECT_LT(passes, 200);
}

TEST(QtEventPass, HandlingPendingEventsNeverWaits) {
    QtEventPass pass;
    // A timer due later is not waited for, unlike in runOnePass.
    bool timerFired = false;
    QTimer::singleShot(50, [&] { timerFired = true; });
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

// A channel that answers nothing: the wait below sends no command.
class SilentChannel : public movie::CommandChannel {
public:
    std::uint32_t sendCommand(const char*, char*, std::uint32_t, std::uintptr_t) override {
        return 0;
    }
};

TEST(QtEventPass, HandlersRunInsideTheMovieWait) {
    SilentChannel channel;
    movie::SystemTimeOfDayClock clock;
    QtEventPass pass;
    movie::MovieModule module(channel, clock, pass);
    bool ranInside = false;
    QTimer::singleShot(0, [&] { ranInside = true; });
    // A second measured from the nearest whole second lasts at least half a
    // second, so the wait runs at least one pass.
    module.timeOut(1.0);
    EXPECT_TRUE(ranInside);
}

}  // namespace
}  // namespace trelvane::ui

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
