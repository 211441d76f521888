#include "ToolkitControlsTest.h"

#include <QAccessible>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "ShownWindow.h"

namespace trelvane::ui {
namespace {

// Counts the paints a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++m_count;
        }
        return false;
    }

private:
    int m_count = 0;
};

}  // namespace

int ToolkitControlsTest::runEndProgramChild() {
    MainWindow window;
    QtToolkit toolkit(window);
    QTimer::singleShot(0, [] { std::printf(" and an event after the end"); });
    std::printf("written before the end");
    toolkit.endProgram();
}

void ToolkitControlsTest::captionsShowAtOnce() {
    QtToolkit& toolkit = m_shown->toolkit();
    toolkit.setCaption("Saving");
    QCOMPARE(m_shown->window().windowTitle(), QStringLiteral("Saving"));
    const std::pair<ValueLabel, const char*> labels[] = {{ValueLabel::Label3, "Label3"},
                                                         {ValueLabel::Label4, "Label4"},
                                                         {ValueLabel::Label7, "Label7"},
                                                         {ValueLabel::Label9, "Label9"}};
    for (const auto& [label, name] : labels) {
        toolkit.setLabelCaption(label, std::string("-") + name);
        auto* shown = m_shown->window().findChild<QLabel*>(QString::fromLatin1(name));
        QCOMPARE(shown->text(), QStringLiteral("-") + QString::fromLatin1(name));
    }
    // A screen reader hears what the number is and the number itself.
    auto* time = m_shown->window().findChild<QLabel*>(QStringLiteral("Label4"));
    toolkit.setLabelCaption(ValueLabel::Label4, "12");
    QCOMPARE(QAccessible::queryAccessibleInterface(time)->text(QAccessible::Name),
             QStringLiteral("Current Time: 12"));
}

void ToolkitControlsTest::progressShowsValueOverMaximum_data() {
    QTest::addColumn<float>("maximum");
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("shown");
    QTest::newRow("first chunk of three") << 60481.0F << 20480.0F << 34;
    QTest::newRow("second chunk of three") << 60481.0F << 40960.0F << 68;
    // A clip of 3 GB, given in units of 2 bytes, half copied.
    QTest::newRow("clip past 2^31 bytes") << 1499510241.0F << 749752320.0F << 50;
    QTest::newRow("beyond the maximum") << 100.0F << 250.0F << 100;
    QTest::newRow("below zero") << 100.0F << -5.0F << 0;
    QTest::newRow("no maximum") << 0.0F << 20480.0F << 0;
}

void ToolkitControlsTest::progressShowsValueOverMaximum() {
    QFETCH(float, maximum);
    QFETCH(float, value);
    QFETCH(int, shown);
    QtToolkit& toolkit = m_shown->toolkit();
    QCOMPARE(toolkit.progressValue(), 0.0F);
    toolkit.setProgressMaximum(maximum);
    toolkit.setProgressValue(value);
    QCOMPARE(m_shown->window().progressBar().value(), shown);
    // The value reads back as set, for the caller to add to it.
    QCOMPARE(toolkit.progressValue(), value);
}

void ToolkitControlsTest::progressRepaintsOnlyWhenTheBarChanges() {
    QtToolkit& toolkit = m_shown->toolkit();
    QProgressBar& bar = m_shown->window().progressBar();
    toolkit.setProgressMaximum(10'000'000.0F);
    QCoreApplication::processEvents();
    PaintCounter paints(bar);
    // A copy's chunks, 40 visible steps of the bar: nothing is painted while
    // the handler works, once at the next turn of the loop, the last step.
    for (int chunk = 1; chunk <= 200; ++chunk) {
        toolkit.setProgressValue(20480.0F * static_cast<float>(chunk));
    }
    QCOMPARE(paints.count(), 0);
    QTRY_COMPARE(paints.count(), 1);
    QCOMPARE(bar.value(), 41);
    // A value the bar shows as before asks for no paint.
    toolkit.setProgressValue(20480.0F * 201.0F);
    QCoreApplication::processEvents();
    QCOMPARE(paints.count(), 1);
}

void ToolkitControlsTest::timerTicksOnlyWhileEnabled() {
    QtToolkit& toolkit = m_shown->toolkit();
    QTimer& timer = m_shown->window().timer();
    toolkit.setTimerEnabled(true);
    QVERIFY(timer.isActive());
    QTRY_COMPARE_WITH_TIMEOUT(m_shown->events(), QStringList{"timerTick"}, 3000);
    toolkit.setTimerEnabled(false);
    QVERIFY(!timer.isActive());
}

void ToolkitControlsTest::reenablingKeepsTheTimersRhythm() {
    QtToolkit& toolkit = m_shown->toolkit();
    QTimer& timer = m_shown->window().timer();
    toolkit.setTimerEnabled(true);
    QTRY_VERIFY(timer.remainingTime() < 800);
    toolkit.setTimerEnabled(true);
    QVERIFY(timer.remainingTime() < 850);
    toolkit.setTimerEnabled(false);
}

void ToolkitControlsTest::videoHandleIsTheFramesNativeWindow() {
    QWidget& video = m_shown->window().videoFrame();
    const std::int32_t handle = m_shown->toolkit().videoWindowHandle();
    QVERIFY(handle != 0);
    QCOMPARE(static_cast<WId>(handle), video.internalWinId());
}

void ToolkitControlsTest::closingRaisesUnloadAndLeavesTheWindowToIt() {
    MainWindow& window = m_shown->window();
    QVERIFY(!window.close());
    QCOMPARE(m_shown->events(), QStringList{"formUnload"});
    QVERIFY(window.isVisible());
}

void ToolkitControlsTest::endingFlushesOutputAndExitsAtOnce() {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kEndProgramChild)});
    QVERIFY(child.waitForFinished(20000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(child.readAllStandardOutput(), QByteArray("written before the end"));
}

}  // namespace trelvane::ui
