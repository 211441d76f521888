#include "ui/qt/QtToolkit.h"

#include <unistd.h>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iostream>

#include "core/Failure.h"
#include "ui/qt/ClickSlider.h"
#include "ui/qt/CommonDialog.h"
#include "ui/qt/FaceButton.h"
#include "ui/qt/MainWindow.h"

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
    return Failure(53, "File not found");
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
    QLabel& shown = m_window.valueLabel(label);
    shown.setText(qText(caption));
    // Handlers may run for a while before the loop paints again.
    shown.repaint();
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

// QProgressBar repaints, at once, only when the filled part changes, so a
// save that sets the value once per chunk costs a paint now and then.
void QtToolkit::showProgress() {
    QProgressBar& bar = m_window.progressBar();
    double ratio = static_cast<double>(m_progressValue) / static_cast<double>(m_progressMaximum);
    if (!std::isfinite(ratio) || m_progressMaximum <= 0.0F) {
        ratio = 0.0;
    }
    ratio = std::clamp(ratio, 0.0, 1.0);
    const int span = bar.maximum() - bar.minimum();
    bar.setValue(bar.minimum() + static_cast<int>(std::lround(ratio * span)));
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
    const bool yesNo = buttons == MessageButtons::YesNo;
    QMessageBox box(QMessageBox::NoIcon, qText(title), qText(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, &m_window);
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    box.exec();
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    // Closing the box without a button is not a Yes.
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? MessageAnswer::Yes
                                                                       : MessageAnswer::No;
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
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    ::_exit(0);
}

void QtToolkit::runOnePass() {
    m_pass.runOnePass();
}

void QtToolkit::handlePendingEvents() {
    m_pass.handlePendingEvents();
}

}  // namespace trelvane::ui
