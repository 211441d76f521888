#pragma once

#include <cstdint>

// Where a clip lies in the source, estimated from the marks: the byte rate
// times each mark. Every whole number is 32-bit signed and every step fails
// with an overflow (trelvane::Failure) where its result does not fit.
namespace trelvane::clip {

// Each read and write moves a whole chunk, but the position advances one byte
// less, so neighbouring chunks share a byte and the copy stays contiguous.
inline constexpr std::int32_t kChunkBytes = 20481;
inline constexpr std::int32_t kChunkStep = 20480;

// A file's size as a byte count the rest can work with: sizes of 2 GiB and
// more fail cleanly instead of turning into wrong positions.
std::int32_t sourceLength(std::int64_t fileSize);

// Bytes per second: the source's length over the movie's, to the nearest
// whole number (ties to even). A movie length of 0 fails.
std::int32_t byteRate(std::int32_t sourceLength, std::int32_t movieLengthInSec);

// The progress bar's maximum: the clip's byte count and one chunk more.
float progressMaximum(std::int32_t clipBegin, std::int32_t clipEnd, std::int32_t rate);

// 1-based source positions of the marks.
std::int32_t startPosition(std::int32_t clipBegin, std::int32_t rate);
std::int32_t endPosition(std::int32_t clipEnd, std::int32_t rate);

}  // namespace trelvane::clip
