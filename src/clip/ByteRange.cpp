#include "clip/ByteRange.h"

#include <limits>

#include "clip/ClipFailures.h"
#include "core/Int32.h"
#include "core/Int64.h"

namespace trelvane::clip {

std::int32_t byteRate(std::int64_t sourceLength, std::int32_t movieLengthInSec) {
    if (movieLengthInSec == 0) {
        throw failures::noMovieLength();
    }
    return int32::fromDouble(static_cast<double>(sourceLength) /
                             static_cast<double>(movieLengthInSec));
}

std::int64_t startPosition(std::int32_t clipBegin, std::int32_t rate) {
    return int64::multiply(rate, clipBegin);
}

std::int64_t endPosition(std::int32_t clipEnd, std::int32_t rate) {
    return int64::multiply(clipEnd, rate);
}

ProgressScale progressScale(std::int32_t clipBegin, std::int32_t clipEnd, std::int32_t rate) {
    const std::int64_t clipBytes =
        int64::subtract(endPosition(clipEnd, rate), startPosition(clipBegin, rate));
    const std::int64_t maximum = int64::add(clipBytes, kChunkBytes);
    constexpr std::int64_t kBarLimit = std::numeric_limits<std::int32_t>::max();
    std::int64_t unit = 1;
    // Rounded up, so that the last value set never passes the maximum.
    while ((maximum + unit - 1) / unit > kBarLimit) {
        unit *= 2;
    }
    return {static_cast<float>((maximum + unit - 1) / unit),
            static_cast<float>(kChunkStep) / static_cast<float>(unit)};
}

}  // namespace trelvane::clip
