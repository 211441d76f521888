#include "clip/PosixReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>
#include <vector>

#include "clip/ClipFailures.h"
#include "core/ProgramEnd.h"

namespace trelvane::clip::posix {
namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Hidden and marked as ours, in case it is ever seen. Short and of one
// length whatever the target is called: a name grown from the target's would
// not fit beside a target whose name is near the file system's limit.
std::string hiddenPattern(const std::string& target) {
    return folderOf(target) + "/.trelvane-";
}

bool inOwnGroups(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(NGROUPS_MAX));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    for (int i = 0; i < count; ++i) {
        if (groups[static_cast<std::size_t>(i)] == group) {
            return true;
        }
    }
    return false;
}

int namedReplacement(const std::string& target, std::string& name) {
    std::string pattern = hiddenPattern(target) + "XXXXXX";
    const int file = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (file >= 0) {
        name = pattern;
        programEnd::removeAtEnd(name);
    }
    return file;
}

// Gives the nameless file a hidden name beside its target, to rename from.
std::string linkHidden(FileHandle file, const std::string& target) {
    const std::string fdPath = "/proc/self/fd/" + std::to_string(file);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = hiddenPattern(target) + std::to_string(random() % 1'000'000);
        if (::linkat(AT_FDCWD, fdPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return name;
        }
        if (errno != EEXIST) {
            throw failures::ofSystemError(errno);
        }
    }
    throw failures::ofSystemError(EEXIST);
}

void syncFolder(const std::string& folder) noexcept {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        // The clip is in place by now; a folder that cannot be synced costs
        // only the guarantee against a power cut, not the save.
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

std::string resolved(const std::string& path) {
    char real[PATH_MAX];
    return ::realpath(path.c_str(), real) ? std::string(real) : path;
}

bool renameKeepsAll(const std::string& path) {
    const std::string real = resolved(path);
    struct stat file {};
    if (::lstat(real.c_str(), &file) != 0 || !S_ISREG(file.st_mode) || file.st_nlink != 1 ||
        file.st_uid != ::geteuid() || !inOwnGroups(file.st_gid)) {
        return false;
    }
    // ACLs are extended attributes too. Where the file system has none at
    // all (ENOTSUP), there is nothing to lose.
    const ssize_t attributes = ::listxattr(real.c_str(), nullptr, 0);
    if (attributes > 0 || (attributes < 0 && errno != ENOTSUP)) {
        return false;
    }
    // A sticky folder lets only the owner of the folder or of the file
    // rename over it; the file is this user's (above), so it needs no look.
    return ::faccessat(AT_FDCWD, folderOf(real).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

Replacement openReplacement(const std::string& path, bool unnamed) {
    Replacement replacement;
    replacement.target = resolved(path);
    struct stat old {};
    if (::stat(replacement.target.c_str(), &old) != 0) {
        throw failures::ofSystemError(errno);
    }
    // A nameless file is named at the end through /proc; without it, only a
    // named one could ever be put in place.
    unnamed = unnamed && ::access("/proc/self/fd", X_OK) == 0;
    int file = -1;
    if (unnamed) {
        file = ::open(folderOf(replacement.target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    }
    // Older kernels and some file systems cannot make a nameless file.
    if (file < 0 && (!unnamed || errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        file = namedReplacement(replacement.target, replacement.name);
    }
    if (file < 0) {
        throw failures::ofSystemError(errno);
    }
    replacement.file = file;
    if (::fchown(file, static_cast<uid_t>(-1), old.st_gid) != 0 ||
        ::fchmod(file, old.st_mode & 07777) != 0) {
        const int error = errno;
        discard(replacement);
        throw failures::ofSystemError(error);
    }
    return replacement;
}

void putInPlace(Replacement& replacement) {
    if (::fsync(replacement.file) != 0) {
        throw failures::ofSystemError(errno);
    }
    const bool nameless = replacement.name.empty();
    const std::string name =
        nameless ? linkHidden(replacement.file, replacement.target) : replacement.name;
    if (::rename(name.c_str(), replacement.target.c_str()) != 0) {
        const int error = errno;
        if (nameless) {
            ::unlink(name.c_str());
        }
        throw failures::ofSystemError(error);
    }
    programEnd::keep(replacement.name);
    replacement.name.clear();
    replacement.target.clear();
    syncFolder(folderOf(name));
}

void discard(Replacement& replacement) noexcept {
    if (!replacement.name.empty()) {
        ::unlink(replacement.name.c_str());
        programEnd::keep(replacement.name);
    }
    if (replacement.file >= 0) {
        ::close(replacement.file);
    }
    replacement = Replacement();
}

}  // namespace trelvane::clip::posix
