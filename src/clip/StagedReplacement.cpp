#include "clip/StagedReplacement.h"

#include <utility>

#include "core/Failure.h"

namespace trelvane::clip {

StagedReplacement::StagedReplacement(ClipFiles& files, std::string target)
    : m_files(files), m_target(std::move(target)) {
    try {
        m_staged = m_files.createBeside(m_target);
        m_pending = true;
    } catch (const Failure&) {
        m_files.empty(m_target);
        m_staged = m_target;
    }
}

StagedReplacement::~StagedReplacement() {
    if (m_pending) {
        m_files.remove(m_staged);
    }
}

void StagedReplacement::commit() {
    if (m_pending) {
        m_files.replace(m_staged, m_target);
        m_pending = false;
    }
}

}  // namespace trelvane::clip
