#include "clip/ByteRange.h"

#include <limits>

#include "clip/ClipFailures.h"
#include "core/Int32.h"

namespace trelvane::clip {

std::int32_t sourceLength(std::int64_t fileSize) {
    if (fileSize > std::numeric_limits<std::int32_t>::max()) {
        throw failures::sourceTooLarge();
    }
    return static_cast<std::int32_t>(fileSize);
}

std::int32_t byteRate(std::int32_t sourceLength, std::int32_t movieLengthInSec) {
    if (movieLengthInSec == 0) {
        throw failures::noMovieLength();
    }
    return int32::fromDouble(static_cast<double>(sourceLength) /
                             static_cast<double>(movieLengthInSec));
}

float progressMaximum(std::int32_t clipBegin, std::int32_t clipEnd, std::int32_t rate) {
    const std::int32_t clipBytes =
        int32::subtract(int32::multiply(clipEnd, rate), int32::multiply(rate, clipBegin));
    return static_cast<float>(int32::add(clipBytes, kChunkBytes));
}

std::int32_t startPosition(std::int32_t clipBegin, std::int32_t rate) {
    return int32::multiply(rate, clipBegin);
}

std::int32_t endPosition(std::int32_t clipEnd, std::int32_t rate) {
    return int32::multiply(clipEnd, rate);
}

}  // namespace trelvane::clip
