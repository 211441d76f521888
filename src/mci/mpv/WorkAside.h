#pragma once

#include <functional>

#include "mci/WaitHost.h"

namespace trelvane::mci {

// Runs `work` on a thread of its own while the calling thread waits in
// `host` (painting, answering the desktop, handling nothing else), then
// returns what `work` threw, if it threw. `wakeUp` must wake that wait from
// any thread. Without a host the work runs right here: there is no window
// to keep answering.
//
// For reads of the movie that a command cannot go on without: on a drive a
// few of them take a second, which a window's thread must not spend blocked.
void workAside(WaitHost* host, const std::function<void()>& wakeUp,
               const std::function<void()>& work);

}  // namespace trelvane::mci
