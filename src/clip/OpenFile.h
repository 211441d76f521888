#pragma once

#include <optional>
#include <string>

#include "clip/ClipFiles.h"

namespace trelvane::clip {

// One open file that closes itself on every way out: at close() or
// finish(), on destruction, or when another file is moved into it.
class OpenFile {
public:
    OpenFile() = default;
    ~OpenFile() { close(); }

    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    static OpenFile forReading(ClipFiles& files, const std::string& path);
    static OpenFile forReadWrite(ClipFiles& files, const std::string& path);
    // A nameless file to take the place of `path` (ClipFiles::openReplacement).
    static OpenFile forReplacement(ClipFiles& files, const std::string& path);

    bool isOpen() const { return m_handle.has_value(); }
    // Both require an open file.
    std::size_t readAt(std::int64_t position, std::span<std::byte> buffer);
    void writeAt(std::int64_t position, std::span<const std::byte> bytes);
    // Puts a replacement in the place of `path`; it stays open.
    void putInPlaceOf(const std::string& path);
    // Writes what was written through to the disk; requires an open file.
    void sync();
    // Closes the file and throws trelvane::Failure when the system says that
    // written data may be lost; it is closed either way.
    void finish();
    // Closes without a word, for the ways out where the file no longer
    // matters. Closing a file that is not open does nothing.
    void close() noexcept;

private:
    OpenFile(ClipFiles& files, FileHandle handle) : m_files(&files), m_handle(handle) {}

    ClipFiles* m_files = nullptr;
    std::optional<FileHandle> m_handle;
};

}  // namespace trelvane::clip
