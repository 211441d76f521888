#pragma once

#include <chrono>
#include <functional>

namespace trelvane::mci {

// The thread a command waits on may own a window, which must go on painting
// and answering the desktop (whose ping unanswered for a few seconds offers
// to kill the program) while the movie opens or its time index is built.
// A host lets the window do that much, and no more, during a wait.
class WaitHost {
public:
    virtual ~WaitHost() = default;

    // Returns true once `done()` holds, false once `most` has passed first.
    // `done()` is tested at once and again whenever the thread is woken, so
    // whatever is waited for must wake it (the player's wake-up does).
    // Meanwhile the window repaints and answers the desktop; no input is
    // handled and no timer or other handler of the program runs.
    virtual bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds most) = 0;
};

}  // namespace trelvane::mci
