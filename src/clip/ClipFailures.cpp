#include "clip/ClipFailures.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace trelvane::clip::failures {
namespace {

std::int32_t numberOf(int error) {
    switch (error) {
        case ENOENT:
            return failureNumber::FileNotFound;
        case ENOSPC:
        case EDQUOT:
            return failureNumber::DiskFull;
        case EIO:
            return failureNumber::DeviceIoError;
        case EMFILE:
        case ENFILE:
            return failureNumber::TooManyFiles;
        case EACCES:
        case EPERM:
        case EROFS:
            return failureNumber::PermissionDenied;
        default:
            return failureNumber::PathFileAccessError;
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
    return Failure(failureNumber::BadFilePosition, "Bad file position");
}

Failure notARegularFile() {
    return Failure(failureNumber::PathFileAccessError, "Not a regular file");
}

Failure noMovieLength() {
    return Failure(failureNumber::DivisionByZero, "Movie length is 0 seconds");
}

std::string reason(const Failure& failure) {
    std::string text = failure.description();
    if (!text.empty()) {
        text.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(text.front())));
    }
    return text;
}

}  // namespace trelvane::clip::failures
