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
// fileFailure()).
class ClipFiles {
public:
    virtual ~ClipFiles() = default;

    virtual FileHandle openForReading(const std::string& path) = 0;
    // Creates the file when it is missing and never cuts it short.
    virtual FileHandle openForReadWrite(const std::string& path) = 0;
    // Creates the file or cuts it to zero length, and closes it again.
    virtual void empty(const std::string& path) = 0;
    virtual std::int64_t sizeOf(const std::string& path) = 0;

    // Whether a new file can take the place of the existing file `path` (the
    // file a link leads to) by a rename that is allowed and that changes
    // nothing its user would notice: a regular file with one name, owned by
    // this user, in a group of this user's, with no ACL or extended
    // attribute, in a folder where this user may create and rename.
    virtual bool renameKeepsAll(const std::string& path) = 0;
    // Opens, for reading and writing, a new file in the folder of the file
    // `path` leads to, with that file's permissions and group. It has no
    // name until putInPlace: closed before that, or left by a program that
    // ends in any way, it is gone. Where the file system cannot make
    // nameless files, a hidden named one stands in, removed when it is
    // closed or when the program ends (not when it is killed).
    virtual FileHandle openReplacement(const std::string& path) = 0;
    // Writes the replacement through to the disk, then puts it in the place
    // of the file `path` leads to in one step, so that the old file is seen
    // until the new one is whole. The handle stays open.
    virtual void putInPlace(FileHandle replacement, const std::string& path) = 0;

    // Fills `buffer` from `position` on and returns how many bytes it got:
    // fewer than asked for, or none, at the end of the file, which is no
    // failure.
    virtual std::size_t readAt(FileHandle file, std::int64_t position,
                               std::span<std::byte> buffer) = 0;
    // Writes all of `bytes` at `position`, extending the file as needed.
    virtual void writeAt(FileHandle file, std::int64_t position,
                         std::span<const std::byte> bytes) = 0;
    // Writes what was written to the file through to the disk. Some file
    // systems (network ones, some in user space, quota-checked mounts) tell
    // of a failed write only here or at close.
    virtual void sync(FileHandle file) = 0;
    // Lets go of the handle in every case; a replacement not put in place is
    // thrown away. Throws when the system says that written data may not
    // all have reached the file.
    virtual void close(FileHandle file) = 0;

    // Whether both paths lead to one file, however they are spelled: links,
    // "..", doubled slashes. A path that leads nowhere is no file's.
    virtual bool isSameFile(const std::string& first, const std::string& second) = 0;
};

}  // namespace trelvane::clip
