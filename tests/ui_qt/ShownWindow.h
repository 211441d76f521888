#pragma once

#include <QApplication>

#include "RecordingEvents.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtToolkit.h"

namespace trelvane::ui {

// Widgets need a QApplication, and that needs a display; main() makes a
// plain core application when there is none.
inline bool widgetsAvailable() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// A main window with its toolkit, delivering to a recorder, shown on screen.
class ShownWindow {
public:
    ShownWindow();

    // Waits until the window is on screen; false when it never gets there.
    bool waitUntilShown();

    MainWindow& window() { return m_window; }
    QtToolkit& toolkit() { return m_toolkit; }
    RecordingEvents& recorder() { return m_recorder; }
    QStringList events() const { return m_recorder.events(); }

private:
    MainWindow m_window;
    QtToolkit m_toolkit;
    RecordingEvents m_recorder;
};

}  // namespace trelvane::ui
