#include "ui/qt/CaptionFrame.h"

#include <QPainter>

namespace trelvane::ui {
namespace {

const QColor kBorder(160, 160, 160);
constexpr int kCaptionIndent = 6;
constexpr int kCaptionPadding = 2;

}  // namespace

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(caption) {
    setAutoFillBackground(true);
}

int CaptionFrame::captionRoom(int frameWidth) {
    return frameWidth - 2 * (kCaptionIndent + kCaptionPadding);
}

void CaptionFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    // The top edge runs through the middle of the caption's line.
    const int top = m_caption.isEmpty() ? 0 : metrics.height() / 2;
    painter.setPen(kBorder);
    painter.drawRect(QRect(0, top, width() - 1, height() - top - 1));
    if (m_caption.isEmpty()) {
        return;
    }
    const QRect captionRect(kCaptionIndent, 0,
                            metrics.horizontalAdvance(m_caption) + 2 * kCaptionPadding,
                            metrics.height());
    painter.fillRect(captionRect, palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionRect, Qt::AlignCenter, m_caption);
}

}  // namespace trelvane::ui
