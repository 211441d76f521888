#pragma once

#include <chrono>

namespace trelvane::movie {

// One pass of the window's event loop: handles the events that are pending
// and returns. When none is pending it sleeps until one comes (input, a
// timer, the player's news) and handles it. Any handler of the window may
// run inside it.
class EventPass {
public:
    virtual ~EventPass() = default;
    virtual void runOnePass() = 0;
    // The same pass for a wait that ends at a time of its own: it sleeps no
    // longer than `longestWait`. A pass that never sleeps meets it already.
    virtual void runOnePassWaitingAtMost(std::chrono::duration<double> longestWait) {
        static_cast<void>(longestWait);
        runOnePass();
    }
};

}  // namespace trelvane::movie
