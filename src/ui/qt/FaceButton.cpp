#include "ui/qt/FaceButton.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace trelvane::ui {
namespace {

// The shadow is as deep as the widest gap between a bitmap and its box, so
// the outlined face itself is never cut off by the box.
constexpr int kShadowDepth = 3;
constexpr qreal kCornerRadius = 3.0;
constexpr int kTextMargin = 2;

const QColor kOutline(48, 48, 48);
const QColor kFaceTop(252, 252, 252);
const QColor kFaceBottom(221, 221, 221);
const QColor kShadow(176, 176, 176);
const QColor kText(16, 16, 16);

}  // namespace

FaceButton::FaceButton(const QString& text, QSize bitmapSize, QWidget* parent)
    : QWidget(parent), m_text(text), m_face(drawFace(text, bitmapSize, font())) {
    // Reachable by Tab like any control, but focus gives keys nothing to do.
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize FaceButton::textRoom(QSize bitmapSize) {
    return bitmapSize - QSize(kShadowDepth + 2 * kTextMargin, kShadowDepth + 2 * kTextMargin);
}

// The text is drawn in the widget's font, which it takes from the window.
void FaceButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        m_face = drawFace(m_text, m_face.size(), font());
        update();
    }
    QWidget::changeEvent(event);
}

QPixmap FaceButton::drawFace(const QString& text, QSize size, const QFont& font) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face(0.5, 0.5, size.width() - kShadowDepth - 1, size.height() - kShadowDepth - 1);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kShadow);
    painter.drawRoundedRect(face.translated(kShadowDepth, kShadowDepth), kCornerRadius,
                            kCornerRadius);

    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0.0, kFaceTop);
    fill.setColorAt(1.0, kFaceBottom);
    painter.setPen(QPen(kOutline, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(face, kCornerRadius, kCornerRadius);

    painter.setPen(kText);
    painter.setFont(font);
    painter.drawText(face, Qt::AlignCenter, text);
    return pixmap;
}

void FaceButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, m_face);
}

void FaceButton::mousePressEvent(QMouseEvent* event) {
    m_gesture.press(*event);
    event->accept();
}

void FaceButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    // Like any button, letting go elsewhere takes the click back.
    if (m_gesture.release(*event) && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace trelvane::ui
