#pragma once

#include <string>

// Files that must not outlive the program. The program ends at once, without
// unwinding (the toolkit's end), so whoever made such a file hands its name
// here for as long as it is at risk, and the end removes what is left.
namespace trelvane::programEnd {

void removeAtEnd(const std::string& path);
// The file is kept, or already gone: the end leaves it alone.
void keep(const std::string& path);
// Removes every file still handed in. Called just before the program ends.
void removeLeftovers() noexcept;

}  // namespace trelvane::programEnd
