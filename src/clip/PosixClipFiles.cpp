#include "clip/PosixClipFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <vector>

#include "clip/ClipFailures.h"

namespace trelvane::clip {
namespace {

// Read and write for everyone the creator's umask allows, as for any new file.
constexpr mode_t kNewFileMode = 0666;

int openWithRetry(const std::string& path, int flags) {
    for (;;) {
        // Non-blocking only for the open itself: opening a named pipe would
        // otherwise wait for its other end with the window frozen. Regular
        // files, the only ones let through, ignore the flag.
        const int file = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, kNewFileMode);
        if (file >= 0 || errno != EINTR) {
            return file;
        }
    }
}

FileHandle openOrFail(const std::string& path, int flags) {
    const int file = openWithRetry(path, flags);
    if (file < 0) {
        throw failures::ofSystemError(errno);
    }
    struct stat status {};
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        const bool folder = S_ISDIR(status.st_mode);
        ::close(file);
        throw folder ? failures::ofSystemError(EISDIR) : failures::notARegularFile();
    }
    return file;
}

off_t offsetOf(std::int64_t position) {
    if (position < 1) {
        throw failures::badPosition();
    }
    return static_cast<off_t>(position - 1);
}

// The file a path leads to, links followed, so that a replacement lands
// there and not in place of the link.
std::string resolved(const std::string& path) {
    char real[PATH_MAX];
    return ::realpath(path.c_str(), real) ? std::string(real) : path;
}

}  // namespace

PosixClipFiles::PosixClipFiles() {
    std::signal(SIGXFSZ, SIG_IGN);
}

FileHandle PosixClipFiles::openForReading(const std::string& path) {
    return openOrFail(path, O_RDONLY);
}

FileHandle PosixClipFiles::openForReadWrite(const std::string& path) {
    return openOrFail(path, O_RDWR | O_CREAT);
}

void PosixClipFiles::empty(const std::string& path) {
    close(openOrFail(path, O_WRONLY | O_CREAT | O_TRUNC));
}

std::int64_t PosixClipFiles::sizeOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        throw failures::ofSystemError(errno);
    }
    return status.st_size;
}

std::string PosixClipFiles::createBeside(const std::string& path) {
    const std::string real = resolved(path);
    struct stat status {};
    if (::stat(real.c_str(), &status) != 0) {
        throw failures::ofSystemError(errno);
    }
    // Hidden and marked as ours, should the program end before it is renamed.
    const std::size_t slash = real.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : real.substr(0, slash);
    const std::string name = slash == std::string::npos ? real : real.substr(slash + 1);
    std::string pattern = folder + "/." + name + ".trelvane-XXXXXX";
    std::vector<char> text(pattern.begin(), pattern.end());
    text.push_back('\0');
    const int file = ::mkostemp(text.data(), O_CLOEXEC);
    if (file < 0) {
        throw failures::ofSystemError(errno);
    }
    const std::string staged(text.data());
    // The copy is written through a second handle, so whoever makes the file
    // must be able to write it even where the old one's owner could not.
    const mode_t mode = (status.st_mode & 07777) | S_IRUSR | S_IWUSR;
    if (::fchmod(file, mode) != 0) {
        const int error = errno;
        ::close(file);
        remove(staged);
        throw failures::ofSystemError(error);
    }
    ::close(file);
    return staged;
}

void PosixClipFiles::replace(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), resolved(to).c_str()) != 0) {
        throw failures::ofSystemError(errno);
    }
}

void PosixClipFiles::remove(const std::string& path) noexcept {
    ::unlink(path.c_str());
}

std::size_t PosixClipFiles::readAt(FileHandle file, std::int64_t position,
                                   std::span<std::byte> buffer) {
    const off_t offset = offsetOf(position);
    std::size_t got = 0;
    // The system may hand out less than asked for before the end; only a
    // read of nothing means the end.
    while (got < buffer.size()) {
        const ssize_t n = ::pread(file, buffer.data() + got, buffer.size() - got,
                                  offset + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw failures::ofSystemError(errno);
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

void PosixClipFiles::writeAt(FileHandle file, std::int64_t position,
                             std::span<const std::byte> bytes) {
    const off_t offset = offsetOf(position);
    std::size_t put = 0;
    while (put < bytes.size()) {
        const ssize_t n = ::pwrite(file, bytes.data() + put, bytes.size() - put,
                                   offset + static_cast<off_t>(put));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw failures::ofSystemError(errno);
        }
        if (n == 0) {
            // Nothing taken and no reason given: retrying would spin forever.
            throw failures::ofSystemError(EIO);
        }
        put += static_cast<std::size_t>(n);
    }
}

void PosixClipFiles::close(FileHandle file) noexcept {
    // Not retried on EINTR: the handle is gone either way on this system.
    if (file >= 0) {
        ::close(file);
    }
}

bool PosixClipFiles::isSameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    if (::stat(first.c_str(), &a) != 0 || ::stat(second.c_str(), &b) != 0) {
        return false;
    }
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace trelvane::clip
