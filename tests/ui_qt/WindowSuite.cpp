#include "WindowSuite.h"

#include <QTest>

#include "ShownWindow.h"

namespace trelvane::ui {

WindowSuite::WindowSuite() = default;
WindowSuite::~WindowSuite() = default;

void WindowSuite::initTestCase() {
    if (!widgetsAvailable()) {
        QSKIP("needs an X display");
    }
}

void WindowSuite::init() {
    m_shown = std::make_unique<ShownWindow>();
    QVERIFY(m_shown->waitUntilShown());
}

void WindowSuite::cleanup() {
    m_shown.reset();
}

}  // namespace trelvane::ui
