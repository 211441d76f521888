#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>

#include "ClickSliderTest.h"
#include "FaceButtonTest.h"
#include "MainWindowTest.h"
#include "ToolkitControlsTest.h"
#include "ToolkitDialogsTest.h"

namespace {

// What ctest takes for "skipped".
constexpr int kSkipped = 77;

bool displayPresent() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

}  // namespace

int main(int argc, char** argv) {
    using namespace trelvane::ui;
    if (argc > 1 && std::strcmp(argv[1], ToolkitControlsTest::kEndProgramChild) == 0) {
        QApplication app(argc, argv);
        return ToolkitControlsTest::runEndProgramChild();
    }
    // A configuration folder of this run's own, empty, so that the tests
    // see what the dialogs would leave in the user's.
    QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    // Without a display a QApplication cannot be made; the suites then
    // skip themselves.
    const bool display = displayPresent();
    std::unique_ptr<QCoreApplication> app;
    if (display) {
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    MainWindowTest window;
    FaceButtonTest buttons;
    ClickSliderTest slider;
    ToolkitControlsTest controls;
    ToolkitDialogsTest dialogs;
    // "--suite=ClickSliderTest" runs that suite alone; the other arguments
    // go to Qt Test as usual.
    QStringList arguments = QCoreApplication::arguments();
    QString only;
    for (const QString& argument : arguments) {
        if (argument.startsWith(QStringLiteral("--suite="))) {
            only = argument.mid(8);
            arguments.removeOne(argument);
            break;
        }
    }
    int failed = 0;
    for (QObject* suite :
         std::initializer_list<QObject*>{&window, &buttons, &slider, &controls, &dialogs}) {
        const QString name = QString::fromLatin1(suite->metaObject()->className()).section(':', -1);
        if (only.isEmpty() || name == only) {
            failed += QTest::qExec(suite, arguments);
        }
    }
    if (!display) {
        return kSkipped;
    }
    return failed == 0 ? 0 : 1;
}
