// trelvane-screen-text: exact reading of text on screenshots of the window
// under test, for the end-to-end scripts. Run on the same screen as the
// program, so that fonts, their settings and the style are the program's.
//
//   number IMAGE BACKGROUND   the digits a value label's crop shows; prints
//                             them ("" for an empty label), or says
//                             "unreadable" on stderr and exits 3
//   find IMAGE X Y W H TEXT   exits 0 when the area of IMAGE holds the line
//                             TEXT as a dialog draws it; 3 when it does not
//   label OUTPUT W H TEXT BACKGROUND
//                             paints a value label of W by H showing TEXT
//   agree A B X Y W H [HX HY HW HH]
//                             exits 0 when two screenshots agree on every
//                             pixel of the area, but for the hole in it
#include <QApplication>
#include <QImage>
#include <QPalette>
#include <cstdio>
#include <iostream>

#include "GlyphReader.h"

namespace {

constexpr int kUnreadable = 3;
constexpr int kUsage = 2;

int usage() {
    std::cerr << "usage: trelvane-screen-text number IMAGE BACKGROUND | find IMAGE X Y W H TEXT |"
                 " label OUTPUT W H TEXT BACKGROUND | agree A B X Y W H [HX HY HW HH]\n";
    return kUsage;
}

QImage load(const QString& path) {
    QImage image(path);
    if (image.isNull()) {
        std::cerr << "cannot read " << path.toStdString() << '\n';
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        return usage();
    }
    const QPalette palette = QApplication::palette();
    // The value labels' text colour is the window's, which sets it to black.
    const trelvane::e2e::GlyphReader labels(QApplication::font(), Qt::black);
    if (args[0] == QLatin1String("number") && args.size() == 3) {
        const QImage crop = load(args[1]);
        const QColor background(args[2]);
        if (crop.isNull() || !background.isValid()) {
            return usage();
        }
        const std::optional<QString> digits = labels.readNumber(crop, background);
        if (!digits) {
            std::cerr << "unreadable\n";
            return kUnreadable;
        }
        std::cout << digits->toStdString() << '\n';
        return 0;
    }
    if (args[0] == QLatin1String("find") && args.size() == 7) {
        const QImage shot = load(args[1]);
        if (shot.isNull()) {
            return usage();
        }
        const QRect area(args[2].toInt(), args[3].toInt(), args[4].toInt(), args[5].toInt());
        // Dialogs and message boxes are windows of their own: the style's
        // colours, not the main window's.
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
    if (args[0] == QLatin1String("label") && args.size() == 6) {
        const QImage image =
            labels.labelImage(QSize(args[2].toInt(), args[3].toInt()), args[4], QColor(args[5]));
        return image.save(args[1]) ? 0 : 1;
    }
    if (args[0] == QLatin1String("agree") && (args.size() == 7 || args.size() == 11)) {
        const QImage a = load(args[1]);
        const QImage b = load(args[2]);
        if (a.isNull() || b.isNull()) {
            return usage();
        }
        const QRect area(args[3].toInt(), args[4].toInt(), args[5].toInt(), args[6].toInt());
        QRect hole;
        if (args.size() == 11) {
            hole = QRect(args[7].toInt(), args[8].toInt(), args[9].toInt(), args[10].toInt());
        }
        return trelvane::e2e::sameOutside(a, b, area, hole) ? 0 : kUnreadable;
    }
    return usage();
}
