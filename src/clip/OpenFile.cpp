#include "clip/OpenFile.h"

#include <utility>

namespace trelvane::clip {

OpenFile::OpenFile(OpenFile&& other) noexcept
    : m_files(other.m_files), m_handle(std::exchange(other.m_handle, std::nullopt)) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        close();
        m_files = other.m_files;
        m_handle = std::exchange(other.m_handle, std::nullopt);
    }
    return *this;
}

OpenFile OpenFile::forReading(ClipFiles& files, const std::string& path) {
    return OpenFile(files, files.openForReading(path));
}

OpenFile OpenFile::forReadWrite(ClipFiles& files, const std::string& path) {
    return OpenFile(files, files.openForReadWrite(path));
}

OpenFile OpenFile::forReplacement(ClipFiles& files, const std::string& path) {
    return OpenFile(files, files.openReplacement(path));
}

void OpenFile::putInPlaceOf(const std::string& path) {
    m_files->putInPlace(m_handle.value(), path);
}

std::size_t OpenFile::readAt(std::int64_t position, std::span<std::byte> buffer) {
    return m_files->readAt(m_handle.value(), position, buffer);
}

void OpenFile::writeAt(std::int64_t position, std::span<const std::byte> bytes) {
    m_files->writeAt(m_handle.value(), position, bytes);
}

void OpenFile::sync() {
    m_files->sync(m_handle.value());
}

void OpenFile::finish() {
    if (m_handle) {
        m_files->close(*std::exchange(m_handle, std::nullopt));
    }
}

void OpenFile::close() noexcept {
    try {
        finish();
    } catch (...) {
        // The handle is gone all the same; a save that needed the answer
        // asked through finish().
    }
}

}  // namespace trelvane::clip
