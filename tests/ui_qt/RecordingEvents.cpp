#include "RecordingEvents.h"

namespace trelvane::ui {

void RecordingEvents::sliderClick() {
    m_events << QStringLiteral("sliderClick %1").arg(m_toolkit.sliderValue());
}

}  // namespace trelvane::ui
