#pragma once

#include <string>

#include "clip/ClipFiles.h"

// Files that take the place of an existing one, on the system's own calls.
// Used by PosixClipFiles; kept apart because nothing else needs to know how
// a file is made nameless and then named.
namespace trelvane::clip::posix {

// The file a path leads to, links followed.
std::string resolved(const std::string& path);

bool renameKeepsAll(const std::string& path);

// A replacement being written: its handle, the file it is to replace, and
// the name it has meanwhile, empty while it has none.
struct Replacement {
    FileHandle file = -1;
    std::string target;
    std::string name;
};

// Whether it has taken its target's place.
inline bool inPlace(const Replacement& replacement) {
    return replacement.target.empty();
}

// `unnamed`: try a nameless file first. Throws trelvane::Failure.
Replacement openReplacement(const std::string& path, bool unnamed);
// Throws trelvane::Failure; the replacement is then as it was.
void putInPlace(Replacement& replacement);
// Closes it; a replacement with a name that was not put in place is removed.
void discard(Replacement& replacement) noexcept;

}  // namespace trelvane::clip::posix
