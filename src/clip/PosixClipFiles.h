#pragma once

#include <map>

#include "clip/ClipFiles.h"
#include "clip/PosixReplacement.h"

namespace trelvane::clip {

// The file operations on the system's own calls, unbuffered: every chunk
// written is handed to the system at once, so an abrupt end of the program
// keeps whatever was written before it. Handles are not inherited by
// programs the process starts.
class PosixClipFiles : public ClipFiles {
public:
    // A write past the user's file size limit (ulimit -f) fails with EFBIG
    // only where the process ignores SIGXFSZ, which the program sets at its
    // start. `unnamedReplacements` false makes every replacement a named file, as
    // on file systems that cannot make nameless ones.
    explicit PosixClipFiles(bool unnamedReplacements = true);

    FileHandle openForReading(const std::string& path) override;
    FileHandle openForReadWrite(const std::string& path) override;
    void empty(const std::string& path) override;
    std::int64_t sizeOf(const std::string& path) override;
    bool renameKeepsAll(const std::string& path) override;
    FileHandle openReplacement(const std::string& path) override;
    void putInPlace(FileHandle replacement, const std::string& path) override;
    std::size_t readAt(FileHandle file, std::int64_t position,
                       std::span<std::byte> buffer) override;
    void writeAt(FileHandle file, std::int64_t position, std::span<const std::byte> bytes) override;
    void sync(FileHandle file) override;
    void close(FileHandle file) override;
    bool isSameFile(const std::string& first, const std::string& second) override;

private:
    bool m_unnamedReplacements;
    std::map<FileHandle, posix::Replacement> m_replacements;
};

}  // namespace trelvane::clip
