#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

namespace trelvane::testing {

// Runs `body` in a forked child that ends with _exit(its result), the way the
// program ends: no destructor, no handler of the test, nothing after it.
// Returns the child's exit code, or 128 + the signal that ended it. A body
// that throws ends with 126.
inline int inChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 126;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// In a child: becomes the given user, with no other group. False when not allowed.
inline bool becomeUser(uid_t user, gid_t group) {
    return ::setgroups(0, nullptr) == 0 && ::setresgid(group, group, group) == 0 &&
           ::setresuid(user, user, user) == 0;
}

// The unprivileged user and group of Debian systems.
inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNogroup = 65534;

}  // namespace trelvane::testing
