#include "ui/qt/ClickGesture.h"

#include <QMouseEvent>

namespace trelvane::ui {

bool ClickGesture::press(const QMouseEvent& event) {
    // A control that was disabled in the middle of a gesture never saw its
    // release; the first button down always starts afresh.
    const bool first = event.buttons() == event.button();
    if (first) {
        m_active = true;
    }
    return first;
}

bool ClickGesture::release(const QMouseEvent& event) {
    if (!m_active || event.buttons() != Qt::NoButton) {
        return false;
    }
    m_active = false;
    return true;
}

}  // namespace trelvane::ui
