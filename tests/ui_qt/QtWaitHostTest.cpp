#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "mci/mpv/WorkAside.h"
#include "ui/qt/QtWaitHost.h"
#include "ui/qt/ThreadWakeUp.h"

namespace trelvane::ui {
namespace {

using namespace std::chrono_literals;

// Another thread that ends a wait the way the player does: the condition
// set, then the wake-up, once the waiting thread has tested it `turns` times.
class Finisher {
public:
    Finisher(ThreadWakeUp& wakeUp, int turns)
        : m_thread([this, waker = wakeUp.waker(), turns] {
              const auto giveUp = std::chrono::steady_clock::now() + 30s;
              while (tested.load() < turns && std::chrono::steady_clock::now() < giveUp) {
                  std::this_thread::yield();
              }
              done.store(true);
              waker();
          }) {}
    ~Finisher() { m_thread.join(); }
    bool test() {
        ++tested;
        return done.load();
    }
    std::atomic<int> tested = 0;
    std::atomic<bool> done = false;

private:
    std::thread m_thread;
};

// A timer of the program's, due at every turn of the loop: a tick that a
// wait let through would run.
struct Ticks {
    Ticks() {
        QObject::connect(&timer, &QTimer::timeout, [this] { ++count; });
        timer.start(0);
    }
    int count = 0;
    QTimer timer;
};

TEST(QtWaitHost, EndsWhenWokenAndHoldsTheProgramsTimersTillThen) {
    ThreadWakeUp wakeUp;
    QtWaitHost host;
    Ticks ticks;
    {
        Finisher finisher(wakeUp, 50);
        EXPECT_TRUE(host.waitUntil([&] { return finisher.test(); }, 60s));
        EXPECT_GE(finisher.tested.load(), 50) << "the wait turned the loop too rarely to tell";
    }
    EXPECT_EQ(ticks.count, 0) << "a timer's handler ran inside the wait";
    // Held, not lost: the tick runs once the wait is over.
    QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
    EXPECT_GT(ticks.count, 0);
}

TEST(QtWaitHost, SleepsUntilTheWakeUpAndGivesUpAtTheDeadline) {
    ThreadWakeUp wakeUp;
    QtWaitHost host;
    {
        // Nothing else wakes the loop: without the wake-up counting, this
        // would run to its deadline and fail.
        Finisher finisher(wakeUp, 1);
        EXPECT_TRUE(host.waitUntil([&] { return finisher.test(); }, 60s));
    }
    EXPECT_FALSE(host.waitUntil([] { return false; }, 50ms));
}

TEST(QtWaitHost, WorkAsideRunsElsewhereWhileTheWindowWaitsAndPassesOnWhatItThrew) {
    ThreadWakeUp wakeUp;
    QtWaitHost host;
    Ticks ticks;
    const auto caller = std::this_thread::get_id();
    std::thread::id worker;
    mci::workAside(&host, wakeUp.waker(), [&] { worker = std::this_thread::get_id(); });
    EXPECT_NE(worker, caller);
    EXPECT_EQ(ticks.count, 0) << "a timer's handler ran while the work was aside";
    EXPECT_THROW(mci::workAside(&host, wakeUp.waker(), [] { throw std::runtime_error("read"); }),
                 std::runtime_error);
    // Without a host there is no window to keep answering: the work runs here.
    mci::workAside(nullptr, {}, [&] { worker = std::this_thread::get_id(); });
    EXPECT_EQ(worker, caller);
}

}  // namespace
}  // namespace trelvane::ui
