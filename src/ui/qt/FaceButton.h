#pragma once

#include <QPixmap>
#include <QWidget>

#include "ui/qt/ClickGesture.h"

namespace trelvane::ui {

// A picture button: a box showing a fixed bitmap of a button face from its
// top left corner. It answers the mouse click alone: it has no pressed or
// highlighted image and no key ever clicks it, focused or not.
class FaceButton : public QWidget {
    Q_OBJECT

public:
    FaceButton(const QString& text, QSize bitmapSize, QWidget* parent);

    QString text() const { return m_text; }
    const QPixmap& face() const { return m_face; }

    // Dark text on a light face inside a dark outline, with a drop shadow
    // along the bottom and right edges of the bitmap.
    static QPixmap drawFace(const QString& text, QSize size, const QFont& font);
    // The room the face of a bitmap of that size leaves for its text.
    static QSize textRoom(QSize bitmapSize);

signals:
    // One per press and release of a mouse button over the box.
    void clicked();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_text;
    QPixmap m_face;
    ClickGesture m_gesture;
};

}  // namespace trelvane::ui
