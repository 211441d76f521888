#include "clip/ClipCopy.h"

#include <algorithm>
#include <span>

#include "clip/ByteRange.h"
#include "core/Int64.h"

namespace trelvane::clip {

ClipCopy::ClipCopy(ClipFiles& files, CopyHost& host)
    : m_files(files), m_host(host), m_chunk(kChunkBytes, std::byte{0}) {}

void ClipCopy::run(const std::string& source, ClipTarget& target, std::int32_t clipBegin,
                   std::int32_t clipEnd) {
    m_source = OpenFile::forReading(m_files, source);
    m_target = &target;
    m_targetFile = &target.open();
    // The size first, then the length, each a step of its own: as two
    // arguments of one call they would be taken in no fixed order.
    const std::int64_t size = m_files.sizeOf(source);
    const std::int32_t rate = byteRate(size, m_host.movieLengthInSec());
    const ProgressScale progress = progressScale(clipBegin, clipEnd, rate);
    m_progressStep = progress.step;
    m_host.setProgressMaximum(progress.maximum);
    m_host.setProgressValue(0);
    copyRange(startPosition(clipBegin, rate), endPosition(clipEnd, rate));
}

void ClipCopy::close() noexcept {
    m_source.close();
    if (m_target) {
        m_target->close();
    }
}

void ClipCopy::copyRange(std::int64_t start, std::int64_t end) {
    // The end is fixed before the first pass, and the last chunk reads past it.
    for (std::int64_t position = start; position <= end;
         position = int64::add(position, kChunkStep)) {
        copyChunk(position, start);
        showChunkDone();
        m_host.yield();
    }
}

void ClipCopy::copyChunk(std::int64_t position, std::int64_t start) {
    const std::size_t got = m_source.readAt(position, m_chunk);
    // Near the end of the source the read falls short; the rest of the chunk
    // is written as zeros, never as what the previous chunk left behind.
    std::fill(m_chunk.begin() + static_cast<std::ptrdiff_t>(got), m_chunk.end(), std::byte{0});
    const std::int64_t targetPosition = int64::add(int64::subtract(position, start), 1);
    m_targetFile->writeAt(targetPosition, m_chunk);
}

void ClipCopy::showChunkDone() {
    // In single precision, as the bar holds it: read back, not counted here.
    const float value = m_host.progressValue();
    m_host.setProgressValue(value + m_progressStep);
}

}  // namespace trelvane::clip
