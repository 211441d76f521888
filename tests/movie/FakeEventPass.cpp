#include "FakeEventPass.h"

#include <stdexcept>

namespace trelvane::movie {

void FakeEventPass::runOnePass() {
    if (++m_passes > kMaxPasses) {
        throw std::runtime_error("the wait did not end");
    }
    if (m_action) {
        m_action(m_passes);
    }
    m_clock.advance(m_step);
}

}  // namespace trelvane::movie
