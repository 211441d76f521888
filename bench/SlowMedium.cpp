// A slow medium under any program, loaded with LD_PRELOAD: reads of the
// chosen files cost what a disk or a disc drive would charge for them. A read
// that starts more than 256 KiB from where the last read of the same file
// ended pays a seek; every byte pays its transfer. The files are read from
// wherever they really are (usually the page cache); only the wait is added.
//
//   TRELVANE_SLOW_FILES    glob of the paths to slow down (fnmatch), required
//   TRELVANE_SLOW_SEEK_MS  seek time, default 10
//   TRELVANE_SLOW_MB_S     transfer rate in MB/s (10^6 bytes), default 100
//   TRELVANE_SLOW_REPORT   file to which the counts are appended at exit
//
// A program that knows of the shim takes the counts itself through
// slowMediumSeeks() and slowMediumForget(), found with dlsym.
#include <dlfcn.h>
#include <fnmatch.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kMostFiles = 1024;
constexpr std::int64_t kNearBytes = 256 * 1024;

struct SlowFile {
    dev_t device;
    ino_t inode;
    int slow;
    std::int64_t lastEnd; /* -1 before the first read */
};

pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;
struct SlowFile g_files[kMostFiles];
int g_fileCount;
long g_seeks;
std::int64_t g_bytes;
double g_waitedMs;

template <typename Function>
Function* next(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

double setting(const char* name, double fallback) {
    const char* text = getenv(name);
    return text != nullptr && *text != '\0' ? atof(text) : fallback;
}

// The entry of the file behind `fd`, or null when it is not one to slow down.
struct SlowFile* slowFile(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    for (int i = 0; i < g_fileCount; ++i) {
        if (g_files[i].device == info.st_dev && g_files[i].inode == info.st_ino) {
            return g_files[i].slow ? &g_files[i] : nullptr;
        }
    }
    if (g_fileCount == kMostFiles) {
        return nullptr;
    }
    char link[64];
    char path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    const char* pattern = getenv("TRELVANE_SLOW_FILES");
    path[length > 0 ? length : 0] = '\0';
    struct SlowFile* file = &g_files[g_fileCount++];
    file->device = info.st_dev;
    file->inode = info.st_ino;
    file->slow = length > 0 && pattern != nullptr && fnmatch(pattern, path, 0) == 0;
    file->lastEnd = -1;
    return file->slow ? file : nullptr;
}

void waitMs(double ms) {
    const auto whole = static_cast<time_t>(ms / 1000);
    timespec left{whole, static_cast<long>((ms - static_cast<double>(whole) * 1000) * 1e6)};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

// Charges a read of `got` bytes at `offset` of `fd`. The drive serves one
// request at a time, so the wait is taken under the lock.
void charge(int fd, std::int64_t offset, ssize_t got) {
    if (got < 0) {
        return;
    }
    const int saved = errno;
    // Sockets, pipes and event counters are no drive's: their reads must not
    // queue behind the drive's lock (a window's thread reading its wake-up
    // would wait out every seek of another thread).
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        errno = saved;
        return;
    }
    pthread_mutex_lock(&g_lock);
    struct SlowFile* file = slowFile(fd);
    if (file != nullptr) {
        double ms = static_cast<double>(got) / (setting("TRELVANE_SLOW_MB_S", 100) * 1000.0);
        const std::int64_t distance =
            file->lastEnd < 0 ? INT64_MAX : std::llabs(offset - file->lastEnd);
        if (distance > kNearBytes) {
            ms += setting("TRELVANE_SLOW_SEEK_MS", 10);
            ++g_seeks;
        }
        file->lastEnd = offset + got;
        g_bytes += got;
        g_waitedMs += ms;
        waitMs(ms);
    }
    pthread_mutex_unlock(&g_lock);
    errno = saved;
}

std::int64_t position(int fd) {
    const int saved = errno;
    const auto at = static_cast<std::int64_t>(lseek(fd, 0, SEEK_CUR));
    errno = saved;
    return at;
}

}  // namespace

extern "C" {

ssize_t read(int fd, void* into, size_t count) {
    const std::int64_t at = position(fd);
    static auto* const realRead = next<ssize_t(int, void*, size_t)>("read");
    const ssize_t got = realRead(fd, into, count);
    charge(fd, at, got);
    return got;
}

ssize_t pread64(int fd, void* into, size_t count, off_t offset) {
    static auto* const realPread = next<ssize_t(int, void*, size_t, off_t)>("pread64");
    const ssize_t got = realPread(fd, into, count, offset);
    charge(fd, offset, got);
    return got;
}

ssize_t pread(int fd, void* into, size_t count, off_t offset) {
    return pread64(fd, into, count, offset);
}

ssize_t readv(int fd, const iovec* parts, int count) {
    const std::int64_t at = position(fd);
    static auto* const realReadv = next<ssize_t(int, const iovec*, int)>("readv");
    const ssize_t got = realReadv(fd, parts, count);
    charge(fd, at, got);
    return got;
}

ssize_t preadv64(int fd, const iovec* parts, int count, off_t offset) {
    static auto* const realPreadv = next<ssize_t(int, const iovec*, int, off_t)>("preadv64");
    const ssize_t got = realPreadv(fd, parts, count, offset);
    charge(fd, offset, got);
    return got;
}

ssize_t preadv(int fd, const iovec* parts, int count, off_t offset) {
    return preadv64(fd, parts, count, offset);
}

ssize_t preadv64v2(int fd, const iovec* parts, int count, off_t offset, int flags) {
    const std::int64_t at = offset == -1 ? position(fd) : offset;
    static auto* const realPreadv2 =
        next<ssize_t(int, const iovec*, int, off_t, int)>("preadv64v2");
    const ssize_t got = realPreadv2(fd, parts, count, offset, flags);
    charge(fd, at, got);
    return got;
}

ssize_t preadv2(int fd, const iovec* parts, int count, off_t offset, int flags) {
    return preadv64v2(fd, parts, count, offset, flags);
}

// Seeks counted so far.
long slowMediumSeeks() {
    pthread_mutex_lock(&g_lock);
    const long seeks = g_seeks;
    pthread_mutex_unlock(&g_lock);
    return seeks;
}

// Each file's last read forgotten, as if the head had gone elsewhere.
void slowMediumForget() {
    pthread_mutex_lock(&g_lock);
    g_fileCount = 0;
    pthread_mutex_unlock(&g_lock);
}

}  // extern "C"

namespace {

__attribute__((destructor)) void report() {
    if (g_bytes == 0) {
        return;
    }
    const char* path = getenv("TRELVANE_SLOW_REPORT");
    FILE* out = path != nullptr && *path != '\0' ? fopen(path, "a") : nullptr;
    fprintf(out != nullptr ? out : stderr, "slow medium: %ld seeks, %lld bytes, %.0f ms waited\n",
            g_seeks, static_cast<long long>(g_bytes), g_waitedMs);
    if (out != nullptr) {
        fclose(out);
    }
}

}  // namespace
