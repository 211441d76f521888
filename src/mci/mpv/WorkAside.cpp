#include "mci/mpv/WorkAside.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

namespace trelvane::mci {

void workAside(WaitHost* host, const std::function<void()>& wakeUp,
               const std::function<void()>& work) {
    if (host == nullptr || !wakeUp) {
        work();
        return;
    }
    std::exception_ptr failure;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Set before the wake-up, which the wait then finds it by.
        done.store(true, std::memory_order_release);
        wakeUp();
    });
    // No limit: the work ends once its reads do, and a drive that fails a
    // read gives up on it within seconds.
    host->waitUntil([&done] { return done.load(std::memory_order_acquire); },
                    std::chrono::hours(24));
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace trelvane::mci
