// trelvane-screen-text: exact reading of text on screenshots of the window
// under test, for the end-to-end scripts. Run on the same screen as the
// program, with the same fonts and settings, so that the program's own
// window, built here unshown, gives the value labels' font and colours.
//
//   number IMAGE [BACKGROUND] the digits a value label's crop shows; prints
//                             them ("" for an empty label), or says
//                             "unreadable" on stderr and exits 3
//   find IMAGE X Y W H TEXT   exits 0 when the area of IMAGE holds the line
//                             TEXT as a dialog draws it; 3 when it does not
//   label OUTPUT W H TEXT [BACKGROUND]
//                             paints a value label of W by H showing TEXT
//   window OUTPUT [LABEL=TEXT...]
//                             paints the program's window as the screen
//                             shows it, its value labels showing TEXT
//   agree A B X Y W H [HX HY HW HH] [--number LX LY LW LH]
//                             exits 0 when two screenshots agree on every
//                             pixel of the area, but for the hole in it, 3
//                             when they do not; with --number, then reads
//                             the value label at LX LY LW LH of B as number
//                             does, and exits 4 when it is unreadable
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <cstdio>
#include <iostream>

#include "GlyphReader.h"
#include "ui/qt/MainWindow.h"

namespace {

constexpr int kUnreadable = 3;
constexpr int kAgreedUnreadable = 4;
constexpr int kUsage = 2;

int usage() {
    std::cerr << "usage: trelvane-screen-text number IMAGE [BACKGROUND] |"
                 " find IMAGE X Y W H TEXT | label OUTPUT W H TEXT [BACKGROUND] |"
                 " window OUTPUT [LABEL=TEXT...] | agree A B X Y W H [HX HY HW HH]\n";
    return kUsage;
}

QImage load(const QString& path) {
    QImage image(path);
    if (image.isNull()) {
        std::cerr << "cannot read " << path.toStdString() << '\n';
    }
    return image;
}

// How the program's window paints its value labels: their font as the
// window fits it to the design, their text colour and their background.
struct LabelLook {
    QFont font;
    QColor text;
    QColor background;
};

LabelLook labelLook(const trelvane::ui::MainWindow& window) {
    const auto* label = window.findChild<QLabel*>(QStringLiteral("Label4"));
    return {label->font(), label->palette().color(QPalette::WindowText),
            label->palette().color(QPalette::Window)};
}

QColor backgroundArgument(const QStringList& args, int at, const LabelLook& look) {
    return args.size() > at ? QColor(args[at]) : look.background;
}

int readNumber(const QStringList& args, const LabelLook& look) {
    const QImage crop = load(args[1]);
    const QColor background = backgroundArgument(args, 2, look);
    if (crop.isNull() || !background.isValid()) {
        return usage();
    }
    const trelvane::e2e::GlyphReader labels(look.font, look.text);
    const std::optional<QString> digits = labels.readNumber(crop, background);
    if (!digits) {
        std::cerr << "unreadable\n";
        return kUnreadable;
    }
    std::cout << digits->toStdString() << '\n';
    return 0;
}

int findLine(const QStringList& args) {
    const QImage shot = load(args[1]);
    if (shot.isNull()) {
        return usage();
    }
    const QRect area(args[2].toInt(), args[3].toInt(), args[4].toInt(), args[5].toInt());
    // Dialogs and message boxes are windows of their own: the desktop's font
    // and the style's colours, not the main window's.
    const QPalette palette = QApplication::palette();
    const trelvane::e2e::GlyphReader dialogs(QApplication::font(),
                                             palette.color(QPalette::WindowText));
    const std::optional<QPoint> at =
        dialogs.findLine(shot.copy(area), args[6], palette.color(QPalette::Window));
    if (!at) {
        return kUnreadable;
    }
    std::cout << at->x() + area.x() << ' ' << at->y() + area.y() << '\n';
    return 0;
}

// The window's own widgets paint it, as on the screen but for the picture,
// which the player draws into P's native window.
int paintWindow(const QStringList& args, trelvane::ui::MainWindow& window) {
    for (const QString& setting : args.mid(2)) {
        const qsizetype equals = setting.indexOf(QLatin1Char('='));
        auto* label = equals > 0 ? window.findChild<QLabel*>(setting.left(equals)) : nullptr;
        if (label == nullptr) {
            return usage();
        }
        label->setText(setting.mid(equals + 1));
    }
    window.ensurePolished();
    return window.grab().toImage().save(args[1]) ? 0 : 1;
}

QRect rectAt(const QStringList& args, int at) {
    return QRect(args[at].toInt(), args[at + 1].toInt(), args[at + 2].toInt(),
                 args[at + 3].toInt());
}

// One process for the look and the reading: a label is read on every step
// of a test, and each start of a Qt program costs a screenshot's time.
int agree(QStringList args) {
    std::optional<QRect> label;
    const qsizetype numberAt = args.indexOf(QStringLiteral("--number"));
    if (numberAt > 0) {
        if (args.size() != numberAt + 5) {
            return usage();
        }
        label = rectAt(args, static_cast<int>(numberAt) + 1);
        args = args.mid(0, numberAt);
    }
    if (args.size() != 7 && args.size() != 11) {
        return usage();
    }
    const QImage a = load(args[1]);
    const QImage b = load(args[2]);
    if (a.isNull() || b.isNull()) {
        return usage();
    }
    const QRect hole = args.size() == 11 ? rectAt(args, 7) : QRect();
    if (!trelvane::e2e::sameOutside(a, b, rectAt(args, 3), hole)) {
        return kUnreadable;
    }
    if (!label) {
        return 0;
    }
    const trelvane::ui::MainWindow window;
    const LabelLook look = labelLook(window);
    const trelvane::e2e::GlyphReader labels(look.font, look.text);
    const std::optional<QString> digits = labels.readNumber(b.copy(*label), look.background);
    if (!digits) {
        return kAgreedUnreadable;
    }
    std::cout << digits->toStdString() << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        return usage();
    }
    const QString& command = args[0];
    if (command == QLatin1String("find") && args.size() == 7) {
        return findLine(args);
    }
    if (command == QLatin1String("agree")) {
        return agree(args);
    }
    trelvane::ui::MainWindow window;
    const LabelLook look = labelLook(window);
    if (command == QLatin1String("number") && (args.size() == 2 || args.size() == 3)) {
        return readNumber(args, look);
    }
    if (command == QLatin1String("label") && (args.size() == 5 || args.size() == 6)) {
        const trelvane::e2e::GlyphReader labels(look.font, look.text);
        const QImage image = labels.labelImage(QSize(args[2].toInt(), args[3].toInt()), args[4],
                                               backgroundArgument(args, 5, look));
        return image.save(args[1]) ? 0 : 1;
    }
    if (command == QLatin1String("window") && args.size() >= 2) {
        return paintWindow(args, window);
    }
    return usage();
}
