#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>

#include "clip/ClipFiles.h"

namespace trelvane::clip::testing {

enum class FileCall {
    OpenForReading,
    OpenForReadWrite,
    Empty,
    SizeOf,
    OpenReplacement,
    PutInPlace,
    Read,
    Write,
    Sync,
    Close
};

// Passes every call on to the files behind it, except those a test made fail,
// and keeps count of the calls and of the handles still open.
class FaultyClipFiles : public ClipFiles {
public:
    explicit FaultyClipFiles(ClipFiles& inner) : m_inner(inner) {}

    // The nth call of that kind from now on (1: the next one) fails with the
    // system error `error` (an errno value) without reaching the files; a
    // failing close still lets go of its handle, as the real one does. One
    // such fault at a time.
    void failCall(FileCall call, int nth, int error) { m_fault = {call, calls(call) + nth, error}; }
    // sizeOf reports this instead of the file's size; nothing: the real one.
    void reportSize(std::optional<std::int64_t> size) { m_reportedSize = size; }

    int calls(FileCall call) const;
    std::size_t openHandles() const { return m_open.size(); }

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
    struct Fault {
        FileCall call;
        int atCall;
        int error;
    };

    void count(FileCall call);
    FileHandle opened(FileHandle file);

    ClipFiles& m_inner;
    std::map<FileCall, int> m_calls;
    std::optional<Fault> m_fault;
    std::set<FileHandle> m_open;
    std::optional<std::int64_t> m_reportedSize;
};

}  // namespace trelvane::clip::testing
