#include "ui/qt/QtToolkit.h"

#include <unistd.h>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iostream>

#include "core/Failure.h"
#include "core/ProgramEnd.h"
#include "ui/qt/ClickSlider.h"
#include "ui/qt/CommonDialog.h"
#include "ui/qt/FaceButton.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/MessageBox.h"

namespace trelvane::ui {
namespace {

constexpr std::array<void (FormEvents::*)(), 9> kButtonClicks = {
    &FormEvents::command1Click, &FormEvents::command2Click, &FormEvents::command3Click,
    &FormEvents::command4Click, &FormEvents::command5Click, &FormEvents::command6Click,
    &FormEvents::command7Click, &FormEvents::command8Click, &FormEvents::command9Click,
};

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

Failure fileNotFound() {
    return Failure(failureNumber::FileNotFound, "File not found");
}

}  // namespace

QtToolkit::QtToolkit(MainWindow& window) : m_window(window) {
    const QProgressBar& bar = window.progressBar();
    m_progressValue = static_cast<float>(bar.value());
    m_progressMaximum = static_cast<float>(bar.maximum());
    connectEvents();
}

void QtToolkit::connectEvents() {
    for (std::size_t i = 0; i < kButtonClicks.size(); ++i) {
        FaceButton& button = m_window.button(static_cast<PictureButton>(i));
        QObject::connect(&button, &FaceButton::clicked, &m_connections,
                         [this, event = kButtonClicks.at(i)] { deliver(event); });
    }
    QObject::connect(&m_window.slider(), &ClickSlider::clicked, &m_connections,
                     [this] { deliver(&FormEvents::sliderClick); });
    QObject::connect(&m_window.timer(), &QTimer::timeout, &m_connections,
                     [this] { deliver(&FormEvents::timerTick); });
    QObject::connect(&m_window, &MainWindow::closeRequested, &m_connections,
                     [this] { deliver(&FormEvents::formUnload); });
}

// The handlers promise to let no failure out. Should one break that
// promise, the program stops here rather than unwind through Qt's frames.
void QtToolkit::deliver(void (FormEvents::*event)()) noexcept {
    if (m_target != nullptr) {
        (m_target->*event)();
    }
}

void QtToolkit::setCaption(const std::string& caption) {
    m_window.setWindowTitle(qText(caption));
}

void QtToolkit::setLabelCaption(ValueLabel label, const std::string& caption) {
    const QString text = qText(caption);
    // The preview sets Label4 on every frame it is woken for, mostly to the
    // same second.
    if (m_window.valueLabel(label).text() == text) {
        return;
    }
    m_window.showValue(label, text);
    // Handlers may run for a while before the loop paints again.
    m_window.valueLabel(label).repaint();
}

void QtToolkit::setButtonEnabled(PictureButton button, bool enabled) {
    m_window.button(button).setEnabled(enabled);
}

void QtToolkit::setSliderEnabled(bool enabled) {
    m_window.slider().setEnabled(enabled);
}

std::int32_t QtToolkit::sliderValue() {
    return m_window.slider().value();
}

void QtToolkit::setSliderValue(std::int32_t value) {
    m_window.slider().setProgramValue(value);
}

void QtToolkit::setSliderMaximum(std::int32_t maximum) {
    // QSlider would lower its minimum to a negative maximum; ours stays 0.
    m_window.slider().setProgramMaximum(std::max(maximum, 0));
}

void QtToolkit::setTimerEnabled(bool enabled) {
    QTimer& timer = m_window.timer();
    if (!enabled) {
        timer.stop();
    } else if (!timer.isActive()) {
        timer.start();
    }
}

float QtToolkit::progressValue() {
    return m_progressValue;
}

void QtToolkit::setProgressValue(float value) {
    m_progressValue = value;
    showProgress();
}

void QtToolkit::setProgressMaximum(float maximum) {
    m_progressMaximum = maximum;
    showProgress();
}

// A save sets the value once per 20 KB chunk, and QProgressBar repaints at
// once whenever its filled part changes: up to a hundred paints in a copy
// that the page cache serves in a tenth of a second. The paint is left to
// the next turn of the loop instead, which comes once a frame, so that
// however many steps the bar takes in between it is painted once.
void QtToolkit::showProgress() {
    QProgressBar& bar = m_window.progressBar();
    double ratio = static_cast<double>(m_progressValue) / static_cast<double>(m_progressMaximum);
    if (!std::isfinite(ratio) || m_progressMaximum <= 0.0F) {
        ratio = 0.0;
    }
    ratio = std::clamp(ratio, 0.0, 1.0);
    const int span = bar.maximum() - bar.minimum();
    const int shown = bar.minimum() + static_cast<int>(std::lround(ratio * span));
    if (shown == bar.value()) {
        return;
    }
    bar.setUpdatesEnabled(false);
    bar.setValue(shown);
    // Asks for a paint at the next turn; many asks make one paint.
    bar.setUpdatesEnabled(true);
}

std::int32_t QtToolkit::videoWindowHandle() {
    // X11 window ids are 29-bit numbers, so nothing is lost.
    return static_cast<std::int32_t>(m_window.videoFrame().winId());
}

void QtToolkit::setDialogFilter(const std::string& filter) {
    m_window.commonDialog().setFilter(qText(filter));
}

void QtToolkit::setDialogTitle(const std::string& title) {
    m_window.commonDialog().setTitle(qText(title));
}

std::string QtToolkit::dialogFileName() {
    return m_window.commonDialog().fileName().toStdString();
}

void QtToolkit::setDialogFileName(const std::string& fileName) {
    m_window.commonDialog().setFileName(qText(fileName));
}

void QtToolkit::showOpenDialog() {
    m_window.commonDialog().showOpen();
}

void QtToolkit::showSaveDialog() {
    m_window.commonDialog().showSave();
}

MessageAnswer QtToolkit::showMessage(const std::string& text, MessageButtons buttons,
                                     const std::string& title) {
    return showMessageBox(&m_window, qText(text), buttons, qText(title));
}

void QtToolkit::startProcess(const std::string& commandLine, int /*windowState*/) {
    QStringList arguments = QProcess::splitCommand(qText(commandLine));
    if (arguments.isEmpty()) {
        throw fileNotFound();
    }
    const QString program = arguments.takeFirst();
    if (!QProcess::startDetached(program, arguments)) {
        throw fileNotFound();
    }
}

void QtToolkit::endProgram() {
    programEnd::removeLeftovers();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    ::_exit(0);
}

void QtToolkit::runOnePass() {
    m_pass.runOnePass();
}

void QtToolkit::runOnePassWaitingAtMost(std::chrono::duration<double> longestWait) {
    m_pass.runOnePassWaitingAtMost(longestWait);
}

void QtToolkit::handlePendingEvents() {
    m_pass.handlePendingEvents();
}

}  // namespace trelvane::ui
