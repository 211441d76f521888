#pragma once

#include <QObject>
#include <QTimer>

#include "mci/WaitHost.h"

namespace trelvane::ui {

// Waits inside a command on the window's thread, turning the event loop for
// the window's own sake only: paints, exposures and the desktop's pings are
// handled; input stays queued for after the wait, and the program's timers
// fire only after it (a timer that comes due meanwhile is put off by its
// interval, as a repeating tick would simply skip a beat).
class QtWaitHost : public QObject, public mci::WaitHost {
public:
    QtWaitHost();
    bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds most) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer m_deadline;
    int m_depth = 0;
};

}  // namespace trelvane::ui
