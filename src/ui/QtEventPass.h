#pragma once

#include <QTimer>

#include <chrono>

#include "movie/EventPass.h"

namespace trelvane::ui {

// One pass of the Qt event loop for handlers that wait inside a click.
// Handles everything pending; when nothing was pending it waits a few
// milliseconds for the next event instead of returning at once, so that a
// handler polling in a loop does not keep a core busy.
class QtEventPass : public movie::EventPass {
public:
    QtEventPass();
    void runOnePass() override;
    // Handles what is pending without waiting; true when anything was.
    // Called in a tight loop, it turns the event loop at most once a
    // millisecond: a copy yields every 20 KB, far more often than a person
    // or the display could notice, and a turn per call would cost it a third
    // of its speed.
    bool handlePendingEvents();

private:
    bool pumpPending();

    QTimer m_wakeUp;
    std::chrono::steady_clock::time_point m_lastPumped;
};

}  // namespace trelvane::ui
