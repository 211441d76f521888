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
// While the thumb is held, value() stays what the program last set and
// sliderPosition() is where the user holds the thumb; the release makes
// that place the value before clicked() is raised.
class ClickSlider : public QSlider {
    Q_OBJECT

public:
    explicit ClickSlider(QWidget* parent);

    // The program's own changes. While the user holds the thumb they change
    // the value behind it and leave the thumb under the pointer, so that the
    // release still seeks to where the user dropped it.
    void setProgramValue(int value);
    void setProgramMaximum(int maximum);

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
    template <typename Change>
    void keepingHeldThumb(Change change);

    ClickGesture m_gesture;
    int m_grabOffset = 0;
};

}  // namespace trelvane::ui
