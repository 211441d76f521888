#include "ui/qt/QtWaitHost.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

#include <algorithm>
#include <climits>

namespace trelvane::ui {

QtWaitHost::QtWaitHost() {
    m_deadline.setSingleShot(true);
    m_deadline.setTimerType(Qt::PreciseTimer);
}

bool QtWaitHost::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds most) {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QCoreApplication* application = QCoreApplication::instance();
    if (done()) {
        return true;
    }
    if (dispatcher == nullptr || application == nullptr) {
        return false;  // no loop to wait in: a caller without one passes no host
    }
    const auto deadline = std::chrono::steady_clock::now() + most;
    if (m_depth++ == 0) {
        application->installEventFilter(this);
    }
    bool held = false;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        // Only to end the sleep below at the deadline; the wake-ups that
        // matter come from what is waited for.
        m_deadline.start(static_cast<int>(std::min<long long>(left.count(), INT_MAX)));
        dispatcher->processEvents(QEventLoop::ExcludeUserInputEvents |
                                  QEventLoop::WaitForMoreEvents);
        if (done()) {
            held = true;
            break;
        }
    }
    m_deadline.stop();
    if (--m_depth == 0) {
        application->removeEventFilter(this);
    }
    return held;
}

bool QtWaitHost::eventFilter(QObject* watched, QEvent* event) {
    // Every timer but the deadline's waits; eaten here, it comes due again
    // after its interval.
    return event->type() == QEvent::Timer && watched != &m_deadline;
}

}  // namespace trelvane::ui
