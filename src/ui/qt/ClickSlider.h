#pragma once

#include <QSlider>

#include "ui/qt/ClickGesture.h"

class QStyleOptionSlider;

namespace trelvane::ui {

// The position slider. Its mouse handling is its own rather than the
// style's, because styles disagree on what a click on the track does: here
// a left click beside the thumb always moves by one page, and the thumb
// follows a left-button drag. Every press and release of a mouse button
// raises clicked() once, after the value has taken the mouse action; a
// drag raises it on release only. Keys and setValue() never raise it.
class ClickSlider : public QSlider {
    Q_OBJECT

public:
    explicit ClickSlider(QWidget* parent);

    // Where the style draws the thumb for the current value.
    QRect thumbRect() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QStyleOptionSlider styleOption() const;
    QRect grooveRect() const;
    int valueForThumbAt(int thumbLeft) const;

    ClickGesture m_gesture;
    int m_grabOffset = 0;
};

}  // namespace trelvane::ui
