#pragma once

#include <QTimer>

#include <chrono>

#include "movie/EventPass.h"

namespace trelvane::ui {

// One pass of the Qt event loop for handlers that wait inside a click.
// Handles everything pending; when nothing was pending it sleeps until the
// next event (input, a timer, a ThreadWakeUp from the player) rather than
// waking on a clock of its own, so that a wait costs nothing while nothing
// happens.
class QtEventPass : public movie::EventPass {
public:
    QtEventPass();
    void runOnePass() override;
    void runOnePassWaitingAtMost(std::chrono::duration<double> longestWait) override;
    // Handles what is pending without waiting; true when anything was.
    // Called in a tight loop, it turns the event loop at most once a screen
    // frame: a copy yields every 20 KB, thousands of times a frame, and
    // nothing a person could see or do changes between two frames.
    bool handlePendingEvents();

private:
    bool pumpPending();
    void sleepUntilAnEvent();

    QTimer m_waitEnd;
    std::chrono::steady_clock::time_point m_lastPumped;
};

}  // namespace trelvane::ui
