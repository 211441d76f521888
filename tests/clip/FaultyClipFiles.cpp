#include "FaultyClipFiles.h"

#include <utility>

#include "clip/ClipFailures.h"

namespace trelvane::clip::testing {

int FaultyClipFiles::calls(FileCall call) const {
    const auto found = m_calls.find(call);
    return found == m_calls.end() ? 0 : found->second;
}

void FaultyClipFiles::count(FileCall call) {
    const int made = ++m_calls[call];
    if (m_fault && m_fault->call == call && m_fault->atCall == made) {
        const int error = std::exchange(m_fault, std::nullopt)->error;
        throw failures::ofSystemError(error);
    }
}

FileHandle FaultyClipFiles::opened(FileHandle file) {
    m_open.insert(file);
    return file;
}

FileHandle FaultyClipFiles::openForReading(const std::string& path) {
    count(FileCall::OpenForReading);
    return opened(m_inner.openForReading(path));
}

FileHandle FaultyClipFiles::openForReadWrite(const std::string& path) {
    count(FileCall::OpenForReadWrite);
    return opened(m_inner.openForReadWrite(path));
}

void FaultyClipFiles::empty(const std::string& path) {
    count(FileCall::Empty);
    m_inner.empty(path);
}

std::int64_t FaultyClipFiles::sizeOf(const std::string& path) {
    count(FileCall::SizeOf);
    const std::int64_t size = m_inner.sizeOf(path);
    return m_reportedSize.value_or(size);
}

bool FaultyClipFiles::renameKeepsAll(const std::string& path) {
    return m_inner.renameKeepsAll(path);
}

FileHandle FaultyClipFiles::openReplacement(const std::string& path) {
    count(FileCall::OpenReplacement);
    return opened(m_inner.openReplacement(path));
}

void FaultyClipFiles::putInPlace(FileHandle replacement, const std::string& path) {
    count(FileCall::PutInPlace);
    m_inner.putInPlace(replacement, path);
}

std::size_t FaultyClipFiles::readAt(FileHandle file, std::int64_t position,
                                    std::span<std::byte> buffer) {
    count(FileCall::Read);
    return m_inner.readAt(file, position, buffer);
}

void FaultyClipFiles::writeAt(FileHandle file, std::int64_t position,
                              std::span<const std::byte> bytes) {
    count(FileCall::Write);
    m_inner.writeAt(file, position, bytes);
}

void FaultyClipFiles::sync(FileHandle file) {
    count(FileCall::Sync);
    m_inner.sync(file);
}

void FaultyClipFiles::close(FileHandle file) {
    m_open.erase(file);
    m_inner.close(file);
    count(FileCall::Close);
}

bool FaultyClipFiles::isSameFile(const std::string& first, const std::string& second) {
    return m_inner.isSameFile(first, second);
}

}  // namespace trelvane::clip::testing
