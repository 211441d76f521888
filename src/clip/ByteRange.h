#pragma once

#include <cstdint>

// Where a clip lies in the source, estimated from the marks: the byte rate
// times each mark. Marks and the byte rate are 32-bit whole numbers; byte
// counts and positions are 64-bit, so that a whole movie from a disc (4 to
// 8 GB) can be cut anywhere. Every step fails with an overflow
// (trelvane::Failure) where its result does not fit.
namespace trelvane::clip {

// Each read and write moves a whole chunk, but the position advances one byte
// less, so neighbouring chunks share a byte and the copy stays contiguous.
inline constexpr std::int32_t kChunkBytes = 20481;
inline constexpr std::int32_t kChunkStep = 20480;

// Bytes per second: the source's length over the movie's, to the nearest
// whole number (ties to even). A movie length of 0 fails, and so does a
// rate past 32 bits.
std::int32_t byteRate(std::int64_t sourceLength, std::int32_t movieLengthInSec);

// 1-based source positions of the marks.
std::int64_t startPosition(std::int32_t clipBegin, std::int32_t rate);
std::int64_t endPosition(std::int32_t clipEnd, std::int32_t rate);

// What the progress bar is given: its maximum, the clip's byte count and one
// chunk more, and the step each chunk adds to its value. Both are in bytes
// while the maximum fits 32 bits, as they always were; past that, in units
// of the smallest power of two that brings the maximum under 2^31, so that
// the bar's single-precision value still moves by whole, exact steps.
struct ProgressScale {
    float maximum = 0;
    float step = 0;
};
ProgressScale progressScale(std::int32_t clipBegin, std::int32_t clipEnd, std::int32_t rate);

}  // namespace trelvane::clip
