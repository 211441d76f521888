#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace trelvane::clip {

// An open file as the file layer hands it out; only that layer knows what
// the number stands for.
using FileHandle = int;

// The file operations a save needs, and nothing more. Positions are 1-based:
// position p is the byte at offset p - 1, and a position below 1 is a
// failure. Every operation that fails throws trelvane::Failure (see
// fileFailure()), except close, which cannot fail.
class ClipFiles {
public:
    virtual ~ClipFiles() = default;

    virtual FileHandle openForReading(const std::string& path) = 0;
    // Creates the file when it is missing and never cuts it short.
    virtual FileHandle openForReadWrite(const std::string& path) = 0;
    // Creates the file or cuts it to zero length, and closes it again.
    virtual void empty(const std::string& path) = 0;
    virtual std::int64_t sizeOf(const std::string& path) = 0;

    // A new, empty file in the folder of the existing file `path`, with its
    // permissions, and returns its name: a copy meant to replace `path` is
    // written there first.
    virtual std::string createBeside(const std::string& path) = 0;
    // Puts `from` in the place of `to` in one step, so that `to` is never
    // seen half written. A link `to` keeps leading where it led.
    virtual void replace(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) noexcept = 0;

    // Fills `buffer` from `position` on and returns how many bytes it got:
    // fewer than asked for, or none, at the end of the file, which is no
    // failure.
    virtual std::size_t readAt(FileHandle file, std::int64_t position,
                               std::span<std::byte> buffer) = 0;
    // Writes all of `bytes` at `position`, extending the file as needed.
    virtual void writeAt(FileHandle file, std::int64_t position,
                         std::span<const std::byte> bytes) = 0;
    virtual void close(FileHandle file) noexcept = 0;

    // Whether both paths lead to one file, however they are spelled: links,
    // "..", doubled slashes. A path that leads nowhere is no file's.
    virtual bool isSameFile(const std::string& first, const std::string& second) = 0;
};

}  // namespace trelvane::clip
