#include "clip/ClipFailures.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace trelvane::clip::failures {
namespace {

std::int32_t numberOf(int error) {
    switch (error) {
        case ENOENT:
            return 53;  // File not found
        case ENOSPC:
        case EDQUOT:
            return 61;  // Disk full
        case EIO:
            return 57;  // Device I/O error
        case EMFILE:
        case ENFILE:
            return 67;  // Too many files
        case EACCES:
        case EPERM:
        case EROFS:
            return 70;  // Permission denied
        default:
            return 75;  // Path/File access error
    }
}

std::string descriptionOf(int error) {
    // The system's own words say "No space left on device", which is less
    // plain than what a user expects to read.
    if (error == ENOSPC) {
        return "Disk full";
    }
    // One thread only, so the shared buffer of strerror is safe here.
    return std::strerror(error);
}

}  // namespace

Failure ofSystemError(int error) {
    return Failure(numberOf(error), descriptionOf(error));
}

Failure badPosition() {
    return Failure(63, "Bad file position");
}

Failure notARegularFile() {
    return Failure(75, "Not a regular file");
}

Failure noMovieLength() {
    return Failure(11, "Movie length is 0 seconds");
}

Failure sourceTooLarge() {
    return Failure(6, "Source is 2 GiB or larger");
}

std::string reason(const Failure& failure) {
    std::string text = failure.description();
    if (!text.empty()) {
        text.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(text.front())));
    }
    return text;
}

}  // namespace trelvane::clip::failures
