// A file system that tells of a lost write only at the end, loaded with
// LD_PRELOAD: as network mounts, some file systems in user space and
// quota-checked mounts do, fsync and close of the chosen files fail though
// every write before them was taken. Nothing else changes: the handle is
// closed all the same.
//
//   TRELVANE_FAIL_FSYNC  glob (fnmatch) of the paths whose fsync fails with EIO
//   TRELVANE_FAIL_CLOSE  glob of the paths whose close fails with EDQUOT
//
// Both are read at every call, so a test may set them as it goes. A test
// that needs the shim finds trelvaneFailingWriteBack with dlsym.
#include <dlfcn.h>
#include <fnmatch.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

template <typename Function>
Function* next(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

bool chosen(int fd, const char* setting) {
    const char* pattern = getenv(setting);
    if (pattern == nullptr || *pattern == '\0') {
        return false;
    }
    char link[64];
    char path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0) {
        return false;
    }
    path[length] = '\0';
    return fnmatch(pattern, path, 0) == 0;
}

}  // namespace

extern "C" {

int trelvaneFailingWriteBack() {
    return 1;
}

int fsync(int fd) {
    static auto* real = next<int(int)>("fsync");
    if (chosen(fd, "TRELVANE_FAIL_FSYNC")) {
        errno = EIO;
        return -1;
    }
    return real(fd);
}

int close(int fd) {
    static auto* real = next<int(int)>("close");
    const bool fails = chosen(fd, "TRELVANE_FAIL_CLOSE");
    const int result = real(fd);
    if (fails && result == 0) {
        errno = EDQUOT;
        return -1;
    }
    return result;
}

}  // extern "C"
