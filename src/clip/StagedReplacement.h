#pragma once

#include <string>

#include "clip/ClipFiles.h"

namespace trelvane::clip {

// Stands in for an existing file the user agreed to replace while the clip
// is written: the copy goes to a new file beside it, which takes the old
// file's place only once the copy is complete. A save that fails, or a
// program that ends during it, leaves the old file as it was. Where no file
// can be made beside it (a folder the user may not write to), the old file
// is emptied and written in place instead, as the only way left.
class StagedReplacement {
public:
    // Throws trelvane::Failure when the old file can be neither staged nor emptied.
    StagedReplacement(ClipFiles& files, std::string target);
    ~StagedReplacement();

    StagedReplacement(const StagedReplacement&) = delete;
    StagedReplacement& operator=(const StagedReplacement&) = delete;

    // Where the copy is to be written.
    const std::string& path() const { return m_staged; }
    // Puts the written copy in the old file's place. Throws trelvane::Failure.
    void commit();

private:
    ClipFiles& m_files;
    std::string m_target;
    std::string m_staged;
    bool m_pending = false;
};

}  // namespace trelvane::clip
