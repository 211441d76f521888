#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

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

TEST(QtWaitHost, EndsWhenWokenAndHoldsTheProgramsTimersTillThen) {
    ThreadWakeUp wakeUp;
    QtWaitHost host;
    // Due at every turn of the loop: a tick the wait let through would run.
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(0);
    {
        Finisher finisher(wakeUp, 50);
        EXPECT_TRUE(host.waitUntil([&] { return finisher.test(); }, 60s));
        EXPECT_GE(finisher.tested.load(), 50) << "the wait turned the loop too rarely to tell";
    }
    EXPECT_EQ(ticks, 0) << "a timer's handler ran inside the wait";
    // Held, not lost: the tick runs once the wait is over.
    QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
    EXPECT_GT(ticks, 0);
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

}  // namespace
}  // namespace trelvane::ui
