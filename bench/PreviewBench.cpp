// How the preview of a marked stretch behaves on the real program: the CPU
// it takes while it waits for the end mark, and how far past the mark the
// movie is when it pauses. The window, its handlers and the player are the
// program's own; only the open dialog is answered by this bench.
//
// usage: preview_bench MOVIE [SECONDS]   (needs an X display)

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Program.h"
#include "mci/mpv/MpvHandle.h"

namespace {

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Answers the next modal file dialog with `path`, as a user would.
void answerNextDialog(const QString& path) {
    QTimer::singleShot(100, [path] {
        QFileDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && qobject_cast<QFileDialog*>(widget) != nullptr) {
                dialog = qobject_cast<QFileDialog*>(widget);
            }
        }
        if (dialog == nullptr) {
            answerNextDialog(path);
            return;
        }
        // Typed into the name field, as a user does, then confirmed.
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            name->setText(path);
        }
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

long positionMs(trelvane::mci::MediaService& service) {
    char answer[128] = {};
    service.sendCommand("status movie position", answer, sizeof answer, 0);
    return std::atol(answer);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview_bench MOVIE [SECONDS]\n");
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication app(argc, argv);
    trelvane::mci::useCoreNumberFormat();
    trelvane::app::Program program(trelvane::mci::PlayerOutputs{"gpu,x11", "null"});
    trelvane::ui::QtToolkit& toolkit = program.toolkit();
    trelvane::ui::Form1& form = program.form();
    program.show();

    answerNextDialog(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    form.command4Click();
    const int begin = 2;
    toolkit.setSliderValue(begin);
    form.sliderClick();
    form.command5Click();
    toolkit.setSliderValue(begin + seconds);
    form.sliderClick();
    form.command6Click();

    const double mainBefore = cpuSeconds(RUSAGE_THREAD);
    const double allBefore = cpuSeconds(RUSAGE_SELF);
    const auto wallBefore = std::chrono::steady_clock::now();
    form.command9Click();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    const double mainCpu = cpuSeconds(RUSAGE_THREAD) - mainBefore;
    const double allCpu = cpuSeconds(RUSAGE_SELF) - allBefore;
    const long late = positionMs(program.mediaService()) - (begin + seconds) * 1000L;

    std::printf("preview of %d s: %.2f s wall\n", seconds, wall);
    std::printf("preview CPU, handler thread: %.2f %% of one core\n", 100.0 * mainCpu / wall);
    std::printf("preview CPU, whole program (decoding and drawing included): %.1f %% of one core\n",
                100.0 * allCpu / wall);
    std::printf("preview paused past the end mark: %ld ms\n", late);
    std::fflush(stdout);
    toolkit.endProgram();
}
