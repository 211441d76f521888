#include "ui/qt/WindowIcon.h"

#include <QPainter>
#include <QPixmap>

namespace trelvane::ui {
namespace {

constexpr int kSize = 32;

// A handful of flat colours, as a 16-colour icon would have.
const QColor kFilm(32, 32, 32);
const QColor kHole(255, 255, 255);
const QColor kPicture(0, 128, 255);
const QColor kCut(255, 0, 0);

void drawStrip(QPainter& painter) {
    painter.fillRect(QRect(0, 4, kSize, 24), kFilm);
    for (int x = 2; x < kSize; x += 6) {
        painter.fillRect(QRect(x, 6, 3, 3), kHole);
        painter.fillRect(QRect(x, 23, 3, 3), kHole);
    }
    painter.fillRect(QRect(3, 11, 11, 10), kPicture);
    painter.fillRect(QRect(18, 11, 11, 10), kPicture);
}

void drawCut(QPainter& painter) {
    painter.setPen(QPen(kCut, 2, Qt::DashLine, Qt::FlatCap));
    painter.drawLine(16, 0, 16, kSize);
}

}  // namespace

QIcon drawWindowIcon() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawStrip(painter);
    drawCut(painter);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace trelvane::ui
