#include "ShownWindow.h"

#include <QTest>

namespace trelvane::ui {

ShownWindow::ShownWindow() : m_toolkit(m_window), m_recorder(m_toolkit) {
    m_toolkit.setTarget(&m_recorder);
    m_window.show();
}

bool ShownWindow::waitUntilShown() {
    return QTest::qWaitForWindowExposed(&m_window);
}

}  // namespace trelvane::ui
