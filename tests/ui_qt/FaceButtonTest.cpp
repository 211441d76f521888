#include "FaceButtonTest.h"

#include <QTest>

#include "ShownWindow.h"
#include "ui/qt/FaceButton.h"

namespace trelvane::ui {
namespace {

constexpr std::array kAllButtons = {
    PictureButton::Command1, PictureButton::Command2, PictureButton::Command3,
    PictureButton::Command4, PictureButton::Command5, PictureButton::Command6,
    PictureButton::Command7, PictureButton::Command8, PictureButton::Command9,
};

}  // namespace

void FaceButtonTest::bitmapsHaveTheirDesignedSizes_data() {
    QTest::addColumn<PictureButton>("button");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("size");
    QTest::newRow("Command1") << PictureButton::Command1 << "Play" << QSize(57, 24);
    QTest::newRow("Command2") << PictureButton::Command2 << "Stop" << QSize(59, 28);
    QTest::newRow("Command3") << PictureButton::Command3 << "Pause" << QSize(69, 27);
    QTest::newRow("Command4") << PictureButton::Command4 << "Open" << QSize(61, 28);
    QTest::newRow("Command5") << PictureButton::Command5 << "Select Start" << QSize(93, 27);
    QTest::newRow("Command6") << PictureButton::Command6 << "Select End" << QSize(91, 28);
    QTest::newRow("Command7") << PictureButton::Command7 << "Save" << QSize(62, 26);
    QTest::newRow("Command8") << PictureButton::Command8 << "Home Page" << QSize(99, 26);
    QTest::newRow("Command9") << PictureButton::Command9 << "Play Selected" << QSize(112, 26);
}

void FaceButtonTest::bitmapsHaveTheirDesignedSizes() {
    QFETCH(PictureButton, button);
    QFETCH(QString, text);
    QFETCH(QSize, size);
    FaceButton& shown = m_shown->window().button(button);
    QCOMPARE(shown.objectName(), QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(shown.text(), text);
    QCOMPARE(shown.face().size(), size);
}

void FaceButtonTest::boxShowsTheTopLeftOfItsBitmap() {
    // Stop's box is 57 x 25, its bitmap 59 x 28.
    FaceButton& stop = m_shown->window().button(PictureButton::Command2);
    const QImage shown = stop.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage topLeft = stop.face()
                               .toImage()
                               .copy(QRect(QPoint(0, 0), stop.size()))
                               .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, topLeft);
}

void FaceButtonTest::eachButtonRaisesItsOwnClick() {
    for (PictureButton button : kAllButtons) {
        QTest::mouseClick(&m_shown->window().button(button), Qt::LeftButton);
    }
    QCOMPARE(m_shown->events(), (QStringList{"command1Click", "command2Click", "command3Click",
                                             "command4Click", "command5Click", "command6Click",
                                             "command7Click", "command8Click", "command9Click"}));
}

void FaceButtonTest::keysNeverClickAFocusedButton() {
    FaceButton& open = m_shown->window().button(PictureButton::Command4);
    m_shown->window().activateWindow();
    open.setFocus(Qt::TabFocusReason);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Select}) {
        QTest::keyClick(&open, key);
    }
    QTest::keyClick(&m_shown->window(), Qt::Key_Return);
    QCOMPARE(m_shown->events(), QStringList());
    QTest::mouseClick(&open, Qt::LeftButton);
    QCOMPARE(m_shown->events(), QStringList{"command4Click"});
}

void FaceButtonTest::releasingElsewhereTakesTheClickBack() {
    FaceButton& save = m_shown->window().button(PictureButton::Command7);
    QTest::mousePress(&save, Qt::LeftButton);
    QTest::mouseRelease(&save, Qt::LeftButton, {}, QPoint(save.width() + 10, 5));
    QCOMPARE(m_shown->events(), QStringList());
    // A release without its own press is no click either.
    QTest::mouseRelease(&save, Qt::LeftButton);
    QCOMPARE(m_shown->events(), QStringList());
}

void FaceButtonTest::doubleClickIsTwoClicks() {
    // What the window system sends for a double click.
    FaceButton& play = m_shown->window().button(PictureButton::Command1);
    QTest::mouseClick(&play, Qt::LeftButton);
    QTest::mouseDClick(&play, Qt::LeftButton);
    QTest::mouseRelease(&play, Qt::LeftButton);
    QCOMPARE(m_shown->events(), (QStringList{"command1Click", "command1Click"}));
}

void FaceButtonTest::disabledButtonRaisesNothing() {
    QtToolkit& toolkit = m_shown->toolkit();
    FaceButton& save = m_shown->window().button(PictureButton::Command7);
    toolkit.setButtonEnabled(PictureButton::Command7, false);
    QTest::mouseClick(&save, Qt::LeftButton);
    QCOMPARE(m_shown->events(), QStringList());
    toolkit.setButtonEnabled(PictureButton::Command7, true);
    QTest::mouseClick(&save, Qt::LeftButton);
    QCOMPARE(m_shown->events(), QStringList{"command7Click"});
}

}  // namespace trelvane::ui
