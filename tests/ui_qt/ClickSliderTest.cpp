#include "ClickSliderTest.h"

#include <QTest>

#include "ShownWindow.h"
#include "ui/qt/ClickSlider.h"

namespace trelvane::ui {
namespace {

QPoint leftEnd(const ClickSlider& slider) {
    return QPoint(2, slider.height() / 2);
}

QPoint rightEnd(const ClickSlider& slider) {
    return QPoint(slider.width() - 3, slider.height() / 2);
}

}  // namespace

void ClickSliderTest::trackClickPagesThenClicks_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("rightOfThumb");
    QTest::addColumn<QString>("event");
    QTest::newRow("right, one page up") << 0 << true << "sliderClick 5";
    QTest::newRow("left, one page down") << 8 << false << "sliderClick 3";
    QTest::newRow("right, stops at the maximum") << 8 << true << "sliderClick 10";
}

void ClickSliderTest::trackClickPagesThenClicks() {
    QFETCH(int, start);
    QFETCH(bool, rightOfThumb);
    QFETCH(QString, event);
    ClickSlider& slider = m_shown->window().slider();
    m_shown->toolkit().setSliderValue(start);
    QTest::mouseClick(&slider, Qt::LeftButton, {},
                      rightOfThumb ? rightEnd(slider) : leftEnd(slider));
    QCOMPARE(m_shown->events(), QStringList{event});
}

void ClickSliderTest::thumbDragClicksOnceOnRelease() {
    ClickSlider& slider = m_shown->window().slider();
    m_shown->toolkit().setSliderMaximum(100);
    const QPoint grab = slider.thumbRect().center();
    QTest::mousePress(&slider, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&slider, QPoint(slider.width() / 2, grab.y()));
    const int halfway = slider.sliderPosition();
    QVERIFY2(halfway > 30 && halfway < 70, qPrintable(QString::number(halfway)));
    QTest::mouseMove(&slider, rightEnd(slider) + QPoint(40, 0));
    QCOMPARE(slider.sliderPosition(), 100);
    QCOMPARE(m_shown->events(), QStringList());
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, rightEnd(slider) + QPoint(40, 0));
    QCOMPARE(m_shown->events(), QStringList{"sliderClick 100"});
}

void ClickSliderTest::heldThumbStaysWhileTheProgramSetsTheValue() {
    ClickSlider& slider = m_shown->window().slider();
    QtToolkit& toolkit = m_shown->toolkit();
    toolkit.setSliderMaximum(100);
    toolkit.setSliderValue(10);
    const QPoint grab = slider.thumbRect().center();
    const QPoint drop(slider.width() * 2 / 3, grab.y());
    QTest::mousePress(&slider, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&slider, drop);
    const int dropped = slider.sliderPosition();
    const QRect heldThumb = slider.thumbRect();
    QVERIFY2(dropped > 50 && dropped < 80, qPrintable(QString::number(dropped)));

    // Two ticks and a Play's new maximum while the thumb is held: the value
    // follows the movie, the thumb stays under the pointer.
    toolkit.setSliderValue(11);
    toolkit.setSliderMaximum(100);
    toolkit.setSliderValue(12);
    QCOMPARE(toolkit.sliderValue(), 12);
    QCOMPARE(slider.thumbRect(), heldThumb);

    QTest::mouseRelease(&slider, Qt::LeftButton, {}, drop);
    QCOMPARE(toolkit.sliderValue(), dropped);
    QCOMPARE(m_shown->events(), QStringList{QStringLiteral("sliderClick %1").arg(dropped)});
    toolkit.setSliderValue(13);
    QCOMPARE(slider.sliderPosition(), 13);
}

void ClickSliderTest::otherButtonsClickWithoutMoving() {
    ClickSlider& slider = m_shown->window().slider();
    QTest::mouseClick(&slider, Qt::RightButton, {}, rightEnd(slider));
    QTest::mouseClick(&slider, Qt::MiddleButton, {}, rightEnd(slider));
    QCOMPARE(m_shown->events(), (QStringList{"sliderClick 0", "sliderClick 0"}));
}

void ClickSliderTest::keysAndTheProgramNeverClick() {
    ClickSlider& slider = m_shown->window().slider();
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_PageUp);
    QCOMPARE(slider.value(), 6);
    m_shown->toolkit().setSliderValue(2);
    m_shown->toolkit().setSliderMaximum(1);
    QCOMPARE(slider.value(), 1);
    QCOMPARE(m_shown->events(), QStringList());
}

void ClickSliderTest::disabledSliderRaisesNothing() {
    ClickSlider& slider = m_shown->window().slider();
    m_shown->toolkit().setSliderEnabled(false);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, rightEnd(slider));
    QCOMPARE(slider.value(), 0);
    QCOMPARE(m_shown->events(), QStringList());
    m_shown->toolkit().setSliderEnabled(true);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, rightEnd(slider));
    QCOMPARE(m_shown->events(), QStringList{"sliderClick 5"});
}

void ClickSliderTest::valueStaysInsideTheRange() {
    QtToolkit& toolkit = m_shown->toolkit();
    toolkit.setSliderValue(99);
    QCOMPARE(toolkit.sliderValue(), 10);
    toolkit.setSliderValue(-3);
    QCOMPARE(toolkit.sliderValue(), 0);
    toolkit.setSliderMaximum(3600);
    toolkit.setSliderValue(3599);
    QCOMPARE(toolkit.sliderValue(), 3599);
}

}  // namespace trelvane::ui
