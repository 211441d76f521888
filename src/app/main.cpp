// trelvane: the one window. Nothing runs until the user acts.

#include <QApplication>

#include <csignal>

#include "app/Program.h"
#include "mci/mpv/MpvHandle.h"

int main(int argc, char** argv) {
    // The video is drawn into the frame's native X11 window; under a Wayland
    // desktop that window exists only through its X11 compatibility server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // Only the video frame needs a native window of its own.
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication app(argc, argv);
    // Taken once here, after the toolkit has taken the user's locale and
    // before any thread of ours runs.
    trelvane::mci::useCoreNumberFormat();
    // A write past the user's file size limit (ulimit -f) then fails with
    // EFBIG and the save ends with "Clip not saved", instead of the signal
    // ending the program on the spot.
    std::signal(SIGXFSZ, SIG_IGN);
    // Ties the window to the menu entry, for its icon and name in the task bar.
    QGuiApplication::setDesktopFileName(QStringLiteral(TRELVANE_APP_ID));
    trelvane::app::Program program(trelvane::mci::PlayerOutputs{});
    program.show();
    return app.exec();
}
