#include "clip/PosixClipFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "clip/ClipFailures.h"
#include "clip/PosixReplacement.h"

namespace trelvane::clip {
namespace {

static_assert(sizeof(off_t) == 8, "positions past 4 GiB need 64-bit file offsets");

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

}  // namespace

PosixClipFiles::PosixClipFiles(bool unnamedReplacements)
    : m_unnamedReplacements(unnamedReplacements) {}

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

bool PosixClipFiles::renameKeepsAll(const std::string& path) {
    return posix::renameKeepsAll(path);
}

FileHandle PosixClipFiles::openReplacement(const std::string& path) {
    posix::Replacement replacement = posix::openReplacement(path, m_unnamedReplacements);
    const FileHandle file = replacement.file;
    m_replacements[file] = std::move(replacement);
    return file;
}

void PosixClipFiles::putInPlace(FileHandle replacement, const std::string& path) {
    const auto found = m_replacements.find(replacement);
    if (found == m_replacements.end() || posix::resolved(path) != found->second.target) {
        throw failures::ofSystemError(EBADF);
    }
    posix::putInPlace(found->second);
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

void PosixClipFiles::sync(FileHandle file) {
    if (::fsync(file) != 0) {
        throw failures::ofSystemError(errno);
    }
}

void PosixClipFiles::close(FileHandle file) {
    const auto found = m_replacements.find(file);
    if (found != m_replacements.end()) {
        posix::Replacement replacement = std::move(found->second);
        m_replacements.erase(found);
        if (!posix::inPlace(replacement)) {
            // Thrown away: what its close says no longer matters.
            posix::discard(replacement);
            return;
        }
    }
    // Not retried on EINTR: the handle is gone either way on this system,
    // and an interrupted close reports no lost data.
    if (file >= 0 && ::close(file) != 0 && errno != EINTR) {
        throw failures::ofSystemError(errno);
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
