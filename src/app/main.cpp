// trelvane: the main window, its handlers, the media command service and the
// player behind it, wired together. Nothing runs until the user acts.

#include <QApplication>

#include <memory>

#include "mci/MediaService.h"
#include "mci/mpv/MpvPlayerFactory.h"
#include "movie/SystemTimeOfDayClock.h"
#include "ui/Form1.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtToolkit.h"

int main(int argc, char** argv) {
    // The video is drawn into the frame's native X11 window; under a Wayland
    // desktop that window exists only through its X11 compatibility server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // Only the video frame needs a native window of its own.
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication app(argc, argv);

    trelvane::mci::MediaService mediaService(
        std::make_unique<trelvane::mci::MpvPlayerFactory>(trelvane::mci::PlayerOutputs{}));
    trelvane::movie::SystemTimeOfDayClock clock;
    trelvane::ui::MainWindow window;
    trelvane::ui::QtToolkit toolkit(window);
    trelvane::ui::Form1 form(toolkit, mediaService, clock);
    toolkit.setTarget(&form);

    window.show();
    return app.exec();
}
