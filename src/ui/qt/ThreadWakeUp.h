#pragma once

#include <QSocketNotifier>

#include <functional>

namespace trelvane::ui {

// Lets any thread wake the event loop of the thread that made this object:
// a pass of that loop sleeping for events returns, having handled the
// wake-up. Wake-ups that come before the loop gets to them count as one.
// Made for the player core, whose callback may run on any of its threads
// and must do nothing but signal.
class ThreadWakeUp {
public:
    ThreadWakeUp();
    ~ThreadWakeUp();
    ThreadWakeUp(const ThreadWakeUp&) = delete;
    ThreadWakeUp& operator=(const ThreadWakeUp&) = delete;

    // Callable from any thread for as long as this object lives.
    std::function<void()> waker() const;
    // How many times the loop has been woken through this object.
    long handled() const { return m_handled; }

private:
    void drain();

    int m_fd;
    QSocketNotifier m_notifier;
    long m_handled = 0;
};

}  // namespace trelvane::ui
