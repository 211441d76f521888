#pragma once

#include <QObject>

#include "ui/FormEvents.h"
#include "ui/Toolkit.h"
#include "ui/qt/QtEventPass.h"

namespace trelvane::ui {

class MainWindow;

// The toolkit operations on the Qt window, and the delivery of the window's
// twelve events to a FormEvents target: the nine button clicks, the
// slider's click, the timer's tick and the request to close the window.
// Without a target the events go nowhere, and the window stays open.
class QtToolkit final : public Toolkit {
public:
    explicit QtToolkit(MainWindow& window);

    void setTarget(FormEvents* target) { m_target = target; }

    void setCaption(const std::string& caption) override;
    void setLabelCaption(ValueLabel label, const std::string& caption) override;
    void setButtonEnabled(PictureButton button, bool enabled) override;

    void setSliderEnabled(bool enabled) override;
    std::int32_t sliderValue() override;
    // Clamped to the slider's range, as is the value by a new maximum.
    void setSliderValue(std::int32_t value) override;
    void setSliderMaximum(std::int32_t maximum) override;

    // Enabling a running timer keeps its rhythm rather than restarting it.
    void setTimerEnabled(bool enabled) override;

    // The value and maximum are kept as given; the bar shows their ratio,
    // limited to empty and full.
    float progressValue() override;
    void setProgressValue(float value) override;
    void setProgressMaximum(float maximum) override;

    std::int32_t videoWindowHandle() override;

    void setDialogFilter(const std::string& filter) override;
    void setDialogTitle(const std::string& title) override;
    std::string dialogFileName() override;
    void setDialogFileName(const std::string& fileName) override;
    void showOpenDialog() override;
    void showSaveDialog() override;

    MessageAnswer showMessage(const std::string& text, MessageButtons buttons,
                              const std::string& title) override;

    // The command line is split as a shell would split it, quotes included.
    // X11 has no way to ask a started program for a window state, so the
    // state is not passed on.
    void startProcess(const std::string& commandLine, int windowState) override;

    // Flushes standard output and error and leaves the process at once,
    // running no destructor and no further event.
    [[noreturn]] void endProgram() override;

    void runOnePass() override;
    void runOnePassWaitingAtMost(std::chrono::duration<double> longestWait) override;
    void handlePendingEvents() override;

private:
    void connectEvents();
    void deliver(void (FormEvents::*event)()) noexcept;
    void showProgress();

    MainWindow& m_window;
    FormEvents* m_target = nullptr;
    QtEventPass m_pass;
    float m_progressValue = 0.0F;
    float m_progressMaximum = 0.0F;
    // Owns the connections, so no event reaches a destroyed toolkit.
    QObject m_connections;
};

}  // namespace trelvane::ui
