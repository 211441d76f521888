#include "MainWindowTest.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "ShownWindow.h"
#include "ui/qt/CaptionFrame.h"
#include "ui/qt/FaceButton.h"

namespace trelvane::ui {
namespace {

QColor pixelAt(QWidget& widget, QPoint at) {
    return widget.grab().toImage().pixelColor(at);
}

// Whether every fixed text of the window can be read whole.
QStringList textsCutOff(const MainWindow& window) {
    QStringList cut;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (QFontMetrics(label->font()).horizontalAdvance(label->text()) > label->width()) {
            cut << label->objectName();
        }
        if (QFontMetrics(label->font()).ascent() > label->height()) {
            cut << label->objectName() + QStringLiteral(" (height)");
        }
    }
    for (const CaptionFrame* frame : window.findChildren<CaptionFrame*>()) {
        if (QFontMetrics(frame->font()).horizontalAdvance(frame->caption()) >
            CaptionFrame::captionRoom(frame->width())) {
            cut << frame->objectName();
        }
    }
    for (const FaceButton* button : window.findChildren<FaceButton*>()) {
        if (QFontMetrics(button->font()).horizontalAdvance(button->text()) >
            FaceButton::textRoom(button->face().size()).width()) {
            cut << button->objectName();
        }
    }
    return cut;
}

}  // namespace

void MainWindowTest::windowHasItsFixedSizeCaptionAndIcon() {
    MainWindow& window = m_shown->window();
    QCOMPARE(window.objectName(), QStringLiteral("Form1"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Trelvane 2.0"));
    QCOMPARE(window.size(), QSize(305, 457));
    QCOMPARE(window.minimumSize(), QSize(305, 457));
    QCOMPARE(window.maximumSize(), QSize(305, 457));
    const QImage icon = window.windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.pixelColor(0, 16) != icon.pixelColor(16, 0));
}

void MainWindowTest::controlsSitWhereDesigned_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("place");
    auto row = [](const char* name, const char* container, QRect place) {
        QTest::newRow(name) << QString::fromLatin1(container) << place;
    };
    row("crd", "Form1", {62, 10, 185, 17});
    row("P", "Form1", {14, 31, 273, 222});
    row("H", "Form1", {9, 257, 281, 25});
    row("Command1", "Form1", {6, 287, 57, 24});
    row("Command2", "Form1", {57, 285, 57, 25});
    row("Command3", "Form1", {110, 285, 67, 25});
    row("Command4", "Form1", {175, 284, 60, 25});
    row("Command7", "Form1", {233, 286, 60, 25});
    row("Command5", "Form1", {56, 316, 93, 25});
    row("Command6", "Form1", {148, 315, 91, 25});
    row("Frame1", "Form1", {11, 345, 144, 79});
    row("bp", "Frame1", {4, 19, 75, 16});
    row("Label7", "Frame1", {79, 21, 59, 12});
    row("ep1", "Frame1", {4, 38, 67, 16});
    row("Label9", "Frame1", {72, 39, 66, 12});
    row("ln", "Frame1", {4, 55, 39, 13});
    row("Label3", "Frame1", {46, 57, 92, 12});
    row("Frame2", "Form1", {160, 345, 138, 35});
    row("Label4", "Frame2", {6, 16, 124, 12});
    row("Command9", "Form1", {175, 383, 110, 25});
    row("Command8", "Form1", {180, 408, 99, 25});
    row("pb", "Form1", {9, 435, 293, 16});
}

void MainWindowTest::controlsSitWhereDesigned() {
    QFETCH(QString, container);
    QFETCH(QRect, place);
    auto* control =
        m_shown->window().findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), place);
    QVERIFY(control->isVisible());
}

void MainWindowTest::coloursAreDrawnAsDesigned() {
    MainWindow& window = m_shown->window();
    const QColor grey(224, 224, 224);
    for (const char* name : {"Label3", "Label4", "Label7", "Label9"}) {
        auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
        QCOMPARE(pixelAt(*label, label->rect().center()), grey);
    }
    QCOMPARE(pixelAt(window.videoFrame(), window.videoFrame().rect().center()), QColor(Qt::black));
    // Spots of the window and of each frame that no control covers.
    QCOMPARE(pixelAt(window, QPoint(3, 3)), QColor(Qt::white));
    QCOMPARE(pixelAt(window, QPoint(300, 300)), QColor(Qt::white));
    auto* frame1 = window.findChild<QWidget*>(QStringLiteral("Frame1"));
    QCOMPARE(pixelAt(*frame1, QPoint(140, 70)), QColor(Qt::white));
    auto* frame2 = window.findChild<QWidget*>(QStringLiteral("Frame2"));
    QCOMPARE(pixelAt(*frame2, QPoint(134, 31)), QColor(Qt::white));
    auto* credit = window.findChild<QLabel*>(QStringLiteral("crd"));
    QCOMPARE(pixelAt(*credit, QPoint(1, 1)), QColor(Qt::white));
    QCOMPARE(credit->palette().color(QPalette::WindowText), QColor(Qt::black));
}

void MainWindowTest::textsStartAsDesigned() {
    MainWindow& window = m_shown->window();
    auto text = [&](const char* name) {
        return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(text("crd"), QStringLiteral("  Orvalis Presentation"));
    QCOMPARE(text("bp"), QStringLiteral("Begin Position :"));
    QCOMPARE(text("ep1"), QStringLiteral("End Position :"));
    QCOMPARE(text("ln"), QStringLiteral("Length :"));
    for (const char* name : {"Label3", "Label4", "Label7", "Label9"}) {
        QCOMPARE(text(name), QString());
    }
    QCOMPARE(window.findChild<CaptionFrame*>(QStringLiteral("Frame1"))->caption(),
             QStringLiteral("Clip Information"));
    QCOMPARE(window.findChild<CaptionFrame*>(QStringLiteral("Frame2"))->caption(),
             QStringLiteral("Current Time"));
    for (QWidget* control : window.findChildren<QWidget*>()) {
        QVERIFY2(control->toolTip().isEmpty(), qPrintable(control->objectName()));
    }
}

void MainWindowTest::fixedTextsFitTheirBoxes_data() {
    QTest::addColumn<qreal>("desktopPointSize");
    QTest::addColumn<bool>("digitsKeepTheirSize");
    QTest::newRow("a usual desktop font") << 9.0 << true;
    QTest::newRow("a large desktop font") << 16.0 << false;
}

void MainWindowTest::fixedTextsFitTheirBoxes() {
    QFETCH(qreal, desktopPointSize);
    QFETCH(bool, digitsKeepTheirSize);
    const QFont desktop = QApplication::font();
    QFont used = desktop;
    used.setPointSizeF(desktopPointSize);
    QApplication::setFont(used);
    MainWindow window;
    QApplication::setFont(desktop);
    QCOMPARE(textsCutOff(window), QStringList());
    QCOMPARE(window.font().family(), desktop.family());
    QVERIFY(window.font().pointSizeF() <= desktopPointSize);
    // The numbers have room enough to the side: only their height counts,
    // and their letters are never narrowed.
    const QFont digits = window.valueLabel(ValueLabel::Label7).font();
    QCOMPARE(digits.family(), desktop.family());
    QCOMPARE(digits.stretch(), desktop.stretch());
    QCOMPARE(digits.pointSizeF() == desktopPointSize, digitsKeepTheirSize);
}

void MainWindowTest::controlsStartWithTheirDesignedValues() {
    MainWindow& window = m_shown->window();
    auto* slider = window.findChild<QSlider*>(QStringLiteral("H"));
    QCOMPARE(slider->orientation(), Qt::Horizontal);
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 10);
    QCOMPARE(slider->value(), 0);
    QCOMPARE(slider->singleStep(), 1);
    QCOMPARE(slider->pageStep(), 5);
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("pb"));
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 0);
    QVERIFY(!bar->isTextVisible());
    auto* timer = window.findChild<QTimer*>(QStringLiteral("T"));
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(!timer->isActive());
    // P is a window of its own for the video to be drawn into.
    QWidget& video = window.videoFrame();
    QCOMPARE(video.objectName(), QStringLiteral("P"));
    QVERIFY(video.internalWinId() != 0);
}

void MainWindowTest::tabGoesByTabIndex() {
    MainWindow& window = m_shown->window();
    QWidget* start = window.findChild<QWidget*>(QStringLiteral("Command1"));
    QStringList order;
    QWidget* control = start;
    do {
        if (control->focusPolicy() & Qt::TabFocus) {
            order << control->objectName();
        }
        control = control->nextInFocusChain();
    } while (control != start && order.size() < 50);
    QCOMPARE(order, (QStringList{"Command1", "Command2", "Command3", "Command4", "Command7",
                                 "Command9", "Command8", "Command5", "Command6", "H"}));
}

void MainWindowTest::controlsHaveTheirAccessibleNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    auto row = [](const char* control, const char* name, QAccessible::Role role) {
        QTest::newRow(control) << QString::fromUtf8(name) << static_cast<int>(role);
    };
    row("Command1", "Play", QAccessible::Button);
    row("Command2", "Stop", QAccessible::Button);
    row("Command3", "Pause", QAccessible::Button);
    row("Command4", "Open", QAccessible::Button);
    row("Command5", "Select Start", QAccessible::Button);
    row("Command6", "Select End", QAccessible::Button);
    row("Command7", "Save", QAccessible::Button);
    row("Command8", "Home Page", QAccessible::Button);
    row("Command9", "Play Selected", QAccessible::Button);
    row("H", "Position", QAccessible::Slider);
    row("pb", "Save Progress", QAccessible::ProgressBar);
    // Empty at start: the name alone, the number joins it once shown.
    row("Label4", "Current Time", QAccessible::StaticText);
    row("Label7", "Begin Position", QAccessible::StaticText);
    row("Label9", "End Position", QAccessible::StaticText);
    row("Label3", "Length", QAccessible::StaticText);
    row("bp", "Begin Position", QAccessible::StaticText);
    row("ep1", "End Position", QAccessible::StaticText);
    row("ln", "Length", QAccessible::StaticText);
    row("crd", "Orvalis Presentation", QAccessible::StaticText);
    row("Frame1", "Clip Information", QAccessible::NoRole);
    row("Frame2", "Current Time", QAccessible::NoRole);
    row("P", "Video", QAccessible::NoRole);
}

void MainWindowTest::controlsHaveTheirAccessibleNames() {
    QFETCH(QString, name);
    QFETCH(int, role);
    auto* control =
        m_shown->window().findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(control != nullptr);
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
    QVERIFY(reader != nullptr);
    QCOMPARE(reader->text(QAccessible::Name), name);
    QVERIFY(!reader->text(QAccessible::Description).isEmpty());
    if (role != QAccessible::NoRole) {
        QCOMPARE(static_cast<int>(reader->role()), role);
    }
    if (role == QAccessible::Button) {
        // Only the mouse clicks a picture button, a screen reader included.
        QAccessibleActionInterface* actions = reader->actionInterface();
        QVERIFY(actions == nullptr ||
                !actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
}

}  // namespace trelvane::ui
