#pragma once

#include <QObject>
#include <memory>

namespace trelvane::ui {

class ShownWindow;

// What every suite of the window's widgets starts from: a fresh window on
// screen for each test, gone after it; the whole suite skipped without a
// display. Qt Test runs these slots for the suites built on it.
class WindowSuite : public QObject {
    Q_OBJECT

public:
    WindowSuite();
    ~WindowSuite() override;

protected:
    // The window of the running test; a test may end it early.
    std::unique_ptr<ShownWindow> m_shown;

private slots:
    void initTestCase();
    void init();
    void cleanup();
};

}  // namespace trelvane::ui
