// A scratched medium under any program, loaded with LD_PRELOAD: reads of the
// chosen byte ranges of the chosen files fail with EIO, each only after the
// wait a drive spends retrying before it gives up. A read that starts before
// a bad range and runs into it gets the bytes up to the range (a short read),
// as from a drive that reads sector by sector; a read that starts inside one
// fails. Every other read goes through untouched.
//
//   TRELVANE_BAD_FILES     glob of the paths with bad ranges (fnmatch), required
//   TRELVANE_BAD_RANGES    FROM-TO[,FROM-TO...], byte offsets, TO excluded
//   TRELVANE_BAD_DELAY_MS  the wait before each failure, default 0
//   TRELVANE_BAD_REPORT    file that holds the count, rewritten at each
//                          failure and at exit (without it: standard error
//                          at exit), so that a program ending by _exit is
//                          counted too
//
// A program that knows of the shim takes the count itself through
// unreadableMediumFailures(), found with dlsym.
#include <dlfcn.h>
#include <fnmatch.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kMostFiles = 1024;
constexpr int kMostRanges = 64;

struct Range {
    std::int64_t from;
    std::int64_t to;
};

struct KnownFile {
    dev_t device;
    ino_t inode;
    bool bad;
};

pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;
KnownFile g_files[kMostFiles];
int g_fileCount;
bool g_badSeen;  // a file with bad ranges was read: the count is reported
long g_failures;

template <typename Function>
Function* next(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

// Whether `fd` is a file whose name matches the glob, remembered by inode.
bool isBadFile(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    pthread_mutex_lock(&g_lock);
    for (int i = 0; i < g_fileCount; ++i) {
        if (g_files[i].device == info.st_dev && g_files[i].inode == info.st_ino) {
            const bool bad = g_files[i].bad;
            pthread_mutex_unlock(&g_lock);
            return bad;
        }
    }
    char link[64];
    char path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    path[length > 0 ? length : 0] = '\0';
    const char* pattern = getenv("TRELVANE_BAD_FILES");
    const bool bad = length > 0 && pattern != nullptr && fnmatch(pattern, path, 0) == 0;
    g_badSeen = g_badSeen || bad;
    if (g_fileCount < kMostFiles) {
        g_files[g_fileCount++] = KnownFile{info.st_dev, info.st_ino, bad};
    }
    pthread_mutex_unlock(&g_lock);
    return bad;
}

int badRanges(Range* ranges) {
    const char* text = getenv("TRELVANE_BAD_RANGES");
    int count = 0;
    while (text != nullptr && *text != '\0' && count < kMostRanges) {
        char* end = nullptr;
        const long long from = strtoll(text, &end, 10);
        if (*end != '-') {
            break;
        }
        const long long to = strtoll(end + 1, &end, 10);
        ranges[count++] = Range{from, to};
        text = *end == ',' ? end + 1 : end;
    }
    return count;
}

void waitMs(double ms) {
    const auto whole = static_cast<time_t>(ms / 1000);
    timespec left{whole, static_cast<long>((ms - static_cast<double>(whole) * 1000) * 1e6)};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

// Rewrites the report file, if one is named, with the count so far.
void writeReport() {
    const char* path = getenv("TRELVANE_BAD_REPORT");
    FILE* out = path != nullptr && *path != '\0' ? fopen(path, "w") : nullptr;
    if (out != nullptr) {
        fprintf(out, "unreadable medium: %ld failed reads\n", g_failures);
        fclose(out);
    }
}

// How many of `count` bytes at `offset` may be read: all of them, those up
// to the first bad range they reach, or -1 when the read starts in one.
std::int64_t readable(int fd, std::int64_t offset, std::int64_t count) {
    if (count <= 0 || !isBadFile(fd)) {
        return count;
    }
    Range ranges[kMostRanges];
    const int n = badRanges(ranges);
    std::int64_t allowed = count;
    for (int i = 0; i < n; ++i) {
        if (offset >= ranges[i].from && offset < ranges[i].to) {
            const char* delay = getenv("TRELVANE_BAD_DELAY_MS");
            waitMs(delay != nullptr ? atof(delay) : 0);
            pthread_mutex_lock(&g_lock);
            ++g_failures;
            writeReport();
            pthread_mutex_unlock(&g_lock);
            return -1;
        }
        if (ranges[i].from > offset && ranges[i].from - offset < allowed) {
            allowed = ranges[i].from - offset;
        }
    }
    return allowed;
}

std::int64_t position(int fd) {
    const int saved = errno;
    const auto at = static_cast<std::int64_t>(lseek(fd, 0, SEEK_CUR));
    errno = saved;
    return at;
}

std::int64_t total(const iovec* parts, int count) {
    std::int64_t bytes = 0;
    for (int i = 0; i < count; ++i) {
        bytes += static_cast<std::int64_t>(parts[i].iov_len);
    }
    return bytes;
}

// The leading parts of `parts` that hold at most `bytes`, the last one cut.
int cutParts(const iovec* parts, int count, std::int64_t bytes, iovec* into) {
    int used = 0;
    for (int i = 0; i < count && bytes > 0; ++i) {
        into[used] = parts[i];
        if (static_cast<std::int64_t>(into[used].iov_len) > bytes) {
            into[used].iov_len = static_cast<size_t>(bytes);
        }
        bytes -= static_cast<std::int64_t>(into[used].iov_len);
        ++used;
    }
    return used;
}

}  // namespace

extern "C" {

ssize_t pread64(int fd, void* into, size_t count, off_t offset) {
    static auto* const realPread = next<ssize_t(int, void*, size_t, off_t)>("pread64");
    const std::int64_t allowed = readable(fd, offset, static_cast<std::int64_t>(count));
    if (allowed < 0) {
        errno = EIO;
        return -1;
    }
    return realPread(fd, into, static_cast<size_t>(allowed), offset);
}

ssize_t pread(int fd, void* into, size_t count, off_t offset) {
    return pread64(fd, into, count, offset);
}

ssize_t read(int fd, void* into, size_t count) {
    static auto* const realRead = next<ssize_t(int, void*, size_t)>("read");
    const std::int64_t allowed = readable(fd, position(fd), static_cast<std::int64_t>(count));
    if (allowed < 0) {
        errno = EIO;
        return -1;
    }
    return realRead(fd, into, static_cast<size_t>(allowed));
}

ssize_t preadv64(int fd, const iovec* parts, int count, off_t offset) {
    static auto* const realPreadv = next<ssize_t(int, const iovec*, int, off_t)>("preadv64");
    const std::int64_t allowed = readable(fd, offset, total(parts, count));
    if (allowed < 0) {
        errno = EIO;
        return -1;
    }
    iovec cut[IOV_MAX];
    const int used = cutParts(parts, count < IOV_MAX ? count : IOV_MAX, allowed, cut);
    return realPreadv(fd, cut, used, offset);
}

ssize_t preadv(int fd, const iovec* parts, int count, off_t offset) {
    return preadv64(fd, parts, count, offset);
}

ssize_t readv(int fd, const iovec* parts, int count) {
    static auto* const realReadv = next<ssize_t(int, const iovec*, int)>("readv");
    const std::int64_t allowed = readable(fd, position(fd), total(parts, count));
    if (allowed < 0) {
        errno = EIO;
        return -1;
    }
    iovec cut[IOV_MAX];
    const int used = cutParts(parts, count < IOV_MAX ? count : IOV_MAX, allowed, cut);
    return realReadv(fd, cut, used);
}

// Failed reads so far.
long unreadableMediumFailures() {
    pthread_mutex_lock(&g_lock);
    const long failures = g_failures;
    pthread_mutex_unlock(&g_lock);
    return failures;
}

}  // extern "C"

namespace {

__attribute__((destructor)) void report() {
    if (!g_badSeen) {
        return;
    }
    const char* path = getenv("TRELVANE_BAD_REPORT");
    if (path != nullptr && *path != '\0') {
        writeReport();
    } else {
        fprintf(stderr, "unreadable medium: %ld failed reads\n", g_failures);
    }
}

}  // namespace
