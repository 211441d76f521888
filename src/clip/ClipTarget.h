#pragma once

#include <string>

#include "clip/ClipFiles.h"
#include "clip/OpenFile.h"

namespace trelvane::clip {

// Where a save writes its clip, and how the clip takes its place.
//
// A new target is created and written in place. An existing file the user
// agreed to replace is written, where a rename changes nothing the user
// would notice and is allowed (ClipFiles::renameKeepsAll), into a nameless
// file beside it that takes its place only once the clip is whole: a failed
// save, or any end of the program, leaves the old file as it was. Anywhere
// else the old file is emptied and written in place, where its owner, mode,
// other names and ACL stay what they were. The choice is made when the user
// agrees, before the copy starts, never after.
class ClipTarget {
public:
    ClipTarget(ClipFiles& files, std::string path);
    ~ClipTarget() { close(); }

    ClipTarget(const ClipTarget&) = delete;
    ClipTarget& operator=(const ClipTarget&) = delete;

    const std::string& path() const { return m_path; }
    bool staged() const { return m_staged; }

    // The user agreed to replace the existing file. Throws trelvane::Failure
    // where the file cannot be written (staged) or emptied (in place); the
    // target is then written in place, as if it had not existed.
    void replaceExisting();
    // Opens what the copy writes into: the target itself, created when
    // missing and never cut short, or the staged clip. Throws trelvane::Failure.
    OpenFile& open();
    // Once the last chunk is written: writes the clip through to the disk,
    // puts a staged clip in the old file's place and closes it. Throws
    // trelvane::Failure where any of that fails, a staged clip then leaving
    // the old file as it was: a clip is whole once this returns.
    void commit();
    // Closes what open() opened; a staged clip not committed is gone.
    void close() noexcept { m_file.close(); }

private:
    ClipFiles& m_files;
    std::string m_path;
    bool m_staged = false;
    OpenFile m_file;
};

}  // namespace trelvane::clip
