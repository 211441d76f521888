#include "clip/ClipTarget.h"

#include <utility>

namespace trelvane::clip {

ClipTarget::ClipTarget(ClipFiles& files, std::string path)
    : m_files(files), m_path(std::move(path)) {}

void ClipTarget::replaceExisting() {
    if (!m_files.renameKeepsAll(m_path)) {
        m_files.empty(m_path);
        return;
    }
    // A file the user may not write stays out of reach, replaced or not.
    OpenFile::forReadWrite(m_files, m_path).close();
    m_staged = true;
}

OpenFile& ClipTarget::open() {
    m_file = m_staged ? OpenFile::forReplacement(m_files, m_path)
                      : OpenFile::forReadWrite(m_files, m_path);
    return m_file;
}

void ClipTarget::commit() {
    // Some file systems report a failed write only at the sync or the close.
    if (m_staged) {
        m_file.putInPlaceOf(m_path);
    } else {
        m_file.sync();
    }
    m_file.finish();
}

}  // namespace trelvane::clip
