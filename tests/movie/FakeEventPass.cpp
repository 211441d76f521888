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

void FakeEventPass::runOnePassWaitingAtMost(std::chrono::duration<double> longestWait) {
    m_sleepLimits.push_back(m_clock.now() + longestWait.count());
    runOnePass();
}

}  // namespace trelvane::movie
