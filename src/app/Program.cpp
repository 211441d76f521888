#include "app/Program.h"

#include <QCoreApplication>
#include <memory>
#include <utility>

#include "mci/mpv/MpvPlayerFactory.h"

namespace trelvane::app {

Program::Program(const mci::PlayerOutputs& outputs)
    : m_mediaService(
          std::make_unique<mci::MpvPlayerFactory>(outputs, m_playerWakeUp.waker(), &m_waitHost)),
      m_toolkit(m_window),
      m_form(m_toolkit, m_channel, m_clock, m_files) {
    m_toolkit.setTarget(&m_form);
    // An installed program finds its guide from its own folder.
    ui::GuidePlaces guide;
    guide.executableDir = QCoreApplication::applicationDirPath().toStdString();
    m_form.useGuide(std::move(guide));
}

}  // namespace trelvane::app
