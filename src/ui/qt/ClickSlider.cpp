#include "ui/qt/ClickSlider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

namespace trelvane::ui {

ClickSlider::ClickSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // A drag moves the thumb only; the value waits for the release.
    setTracking(false);
}

template <typename Change>
void ClickSlider::keepingHeldThumb(Change change) {
    if (!isSliderDown()) {
        change();
        return;
    }
    // QAbstractSlider moves the thumb to every value it is given, held or
    // not; put it back where the user holds it.
    const int held = sliderPosition();
    change();
    setSliderPosition(held);
}

void ClickSlider::setProgramValue(int value) {
    keepingHeldThumb([this, value] { setValue(value); });
}

void ClickSlider::setProgramMaximum(int maximum) {
    keepingHeldThumb([this, maximum] { setMaximum(maximum); });
}

QStyleOptionSlider ClickSlider::styleOption() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return option;
}

QRect ClickSlider::thumbRect() const {
    const QStyleOptionSlider option = styleOption();
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

QRect ClickSlider::grooveRect() const {
    const QStyleOptionSlider option = styleOption();
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
}

int ClickSlider::valueForThumbAt(int thumbLeft) const {
    const QRect groove = grooveRect();
    const int span = groove.width() - thumbRect().width();
    return QStyle::sliderValueFromPosition(minimum(), maximum(), thumbLeft - groove.x(), span,
                                           styleOption().upsideDown);
}

void ClickSlider::mousePressEvent(QMouseEvent* event) {
    // Accepted whatever the button, so that its release comes back here.
    event->accept();
    if (!m_gesture.press(*event) || event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint at = event->position().toPoint();
    const QRect thumb = thumbRect();
    if (thumb.contains(at)) {
        m_grabOffset = at.x() - thumb.x();
        setSliderDown(true);
    } else {
        const bool towardsMinimum = (at.x() < thumb.x()) != styleOption().upsideDown;
        triggerAction(towardsMinimum ? SliderPageStepSub : SliderPageStepAdd);
    }
}

void ClickSlider::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (isSliderDown()) {
        setSliderPosition(valueForThumbAt(event->position().toPoint().x() - m_grabOffset));
    }
}

void ClickSlider::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!m_gesture.release(*event)) {
        return;
    }
    // Ending the drag commits the thumb's position to the value before the
    // click is raised.
    setSliderDown(false);
    emit clicked();
}

}  // namespace trelvane::ui
