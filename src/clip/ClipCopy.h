#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "clip/ClipFiles.h"
#include "clip/ClipTarget.h"
#include "clip/CopyHost.h"
#include "clip/OpenFile.h"

namespace trelvane::clip {

// The byte range of a save and its copy, chunk by chunk: the source's bytes
// from the begin mark's position on go to the target from its first byte on,
// until a chunk has reached past the end mark's position. The target's
// other bytes are left alone. The one chunk buffer lives as long as the
// object; the source stays open until close() or the object's end, the
// target until close() or its own end, so that a failure leaves nothing
// open behind.
class ClipCopy {
public:
    ClipCopy(ClipFiles& files, CopyHost& host);

    ClipCopy(const ClipCopy&) = delete;
    ClipCopy& operator=(const ClipCopy&) = delete;

    // Opens the source for reading, then the target (ClipTarget::open), and
    // copies. The marks are whole seconds. Throws trelvane::Failure at the
    // first step that fails; what was written by then stays in the target.
    // The target must outlive the copy's use of it, up to close().
    void run(const std::string& source, ClipTarget& target, std::int32_t clipBegin,
             std::int32_t clipEnd);
    // Closes whichever of the two files is open.
    void close() noexcept;

private:
    void copyRange(std::int64_t start, std::int64_t end);
    void copyChunk(std::int64_t position, std::int64_t start);
    void showChunkDone();

    ClipFiles& m_files;
    CopyHost& m_host;
    OpenFile m_source;
    ClipTarget* m_target = nullptr;
    OpenFile* m_targetFile = nullptr;
    std::vector<std::byte> m_chunk;
    float m_progressStep = 0;
};

}  // namespace trelvane::clip
