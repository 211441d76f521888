#include "ui/qt/QtEventPass.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>

#include <algorithm>
#include <climits>
#include <cmath>

namespace trelvane::ui {
namespace {

// One frame of a 60 Hz screen.
constexpr std::chrono::microseconds kMinPumpInterval(16'000);

}  // namespace

QtEventPass::QtEventPass() {
    m_waitEnd.setSingleShot(true);
    // A coarse timer may fire up to 5 % late; the waits are short enough
    // that the precise one costs nothing more.
    m_waitEnd.setTimerType(Qt::PreciseTimer);
}

bool QtEventPass::handlePendingEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastPumped < kMinPumpInterval) {
        return false;
    }
    return pumpPending();
}

bool QtEventPass::pumpPending() {
    m_lastPumped = std::chrono::steady_clock::now();
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    return dispatcher != nullptr && dispatcher->processEvents(QEventLoop::AllEvents);
}

void QtEventPass::runOnePass() {
    if (!pumpPending()) {
        sleepUntilAnEvent();
    }
}

void QtEventPass::runOnePassWaitingAtMost(std::chrono::duration<double> longestWait) {
    if (pumpPending() || !(longestWait.count() > 0.0)) {
        return;
    }
    // Whole milliseconds, rounded up: a wait that ends a little early would
    // only come back for the rest.
    const double ms = std::ceil(longestWait.count() * 1000.0);
    m_waitEnd.start(static_cast<int>(std::min(ms, static_cast<double>(INT_MAX))));
    sleepUntilAnEvent();
    m_waitEnd.stop();
}

void QtEventPass::sleepUntilAnEvent() {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher != nullptr) {
        dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace trelvane::ui
