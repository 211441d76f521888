#include "ui/qt/ThreadWakeUp.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace trelvane::ui {
namespace {

int makeEventFd() {
    // Non-blocking both ways: a waker must never stall the thread it runs
    // on, and a drain must never stall the loop.
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
    return fd;
}

}  // namespace

ThreadWakeUp::ThreadWakeUp() : m_fd(makeEventFd()), m_notifier(m_fd, QSocketNotifier::Read) {
    QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { drain(); });
}

ThreadWakeUp::~ThreadWakeUp() {
    m_notifier.setEnabled(false);
    ::close(m_fd);
}

std::function<void()> ThreadWakeUp::waker() const {
    return [fd = m_fd] {
        const std::uint64_t one = 1;
        // Fails only with EAGAIN, when the counter is full: then the loop
        // has a wake-up pending already, which is all this one would give.
        [[maybe_unused]] const ssize_t written = ::write(fd, &one, sizeof one);
    };
}

void ThreadWakeUp::drain() {
    std::uint64_t count = 0;
    // Reading resets the counter; EAGAIN means another drain took it.
    if (::read(m_fd, &count, sizeof count) == static_cast<ssize_t>(sizeof count)) {
        ++m_handled;
    }
}

}  // namespace trelvane::ui
