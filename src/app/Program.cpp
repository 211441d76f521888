#include "app/Program.h"

#include <memory>

#include "mci/mpv/MpvPlayerFactory.h"

namespace trelvane::app {

Program::Program(const mci::PlayerOutputs& outputs)
    : m_mediaService(std::make_unique<mci::MpvPlayerFactory>(outputs, m_playerWakeUp.waker())),
      m_toolkit(m_window),
      m_form(m_toolkit, m_mediaService, m_clock) {
    m_toolkit.setTarget(&m_form);
}

}  // namespace trelvane::app
