#include "ui/QtEventPass.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

namespace trelvane::ui {
namespace {

// Short enough that a wait never ends noticeably late, long enough that an
// idle poll costs next to nothing.
constexpr int kIdleWaitMs = 5;
constexpr std::chrono::microseconds kMinPumpInterval(1000);

}  // namespace

QtEventPass::QtEventPass() {
    m_wakeUp.setSingleShot(true);
    m_wakeUp.setTimerType(Qt::PreciseTimer);
    m_wakeUp.setInterval(kIdleWaitMs);
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
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher == nullptr || pumpPending()) {
        return;
    }
    // Nothing was pending: sleep until an event arrives, at most until our
    // own timer fires.
    m_wakeUp.start();
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    m_wakeUp.stop();
}

}  // namespace trelvane::ui
