#pragma once

#include <cstdint>
#include <string>

#include "movie/EventPass.h"

namespace trelvane::ui {

enum class PictureButton {
    Command1,  // Play
    Command2,  // Stop
    Command3,  // Pause
    Command4,  // Open
    Command5,  // Select Start
    Command6,  // Select End
    Command7,  // Save
    Command8,  // Home Page
    Command9,  // Play Selected
};

// The labels the program writes to; the others never change.
enum class ValueLabel { Label3, Label4, Label7, Label9 };

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Window state asked for a started process: minimised, with the focus.
inline constexpr int kMinimizedWithFocus = 2;

// Everything the window's handlers need of a window toolkit, and nothing
// more, so that the handlers run the same against Qt or against a test's
// stand-in. Operations that fail throw trelvane::Failure; so does a
// cancelled file dialog. A pass of the event loop (runOnePass) may run any
// handler of the window, the closing one included.
class Toolkit : public movie::EventPass {
public:
    // The main window.
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setLabelCaption(ValueLabel label, const std::string& caption) = 0;
    virtual void setButtonEnabled(PictureButton button, bool enabled) = 0;

    // The slider H: 32-bit whole seconds; setting the value raises no event.
    virtual void setSliderEnabled(bool enabled) = 0;
    virtual std::int32_t sliderValue() = 0;
    virtual void setSliderValue(std::int32_t value) = 0;
    virtual void setSliderMaximum(std::int32_t maximum) = 0;

    // The timer T: one tick per second while enabled.
    virtual void setTimerEnabled(bool enabled) = 0;

    // The progress bar pb, in single precision.
    virtual float progressValue() = 0;
    virtual void setProgressValue(float value) = 0;
    virtual void setProgressMaximum(float maximum) = 0;

    // The frame P: the native window the video is drawn into.
    virtual std::int32_t videoWindowHandle() = 0;

    // The common dialog Cdlg. Its settings stay in force between showings.
    // A filter is "description|pattern".
    virtual void setDialogFilter(const std::string& filter) = 0;
    virtual void setDialogTitle(const std::string& title) = 0;
    virtual std::string dialogFileName() = 0;
    virtual void setDialogFileName(const std::string& fileName) = 0;
    virtual void showOpenDialog() = 0;
    virtual void showSaveDialog() = 0;

    // A modal message box without an icon; Yes is the default of Yes/No.
    virtual MessageAnswer showMessage(const std::string& text, MessageButtons buttons,
                                      const std::string& title) = 0;

    // Starts a program and returns at once; a program that cannot be started
    // is a failure.
    virtual void startProcess(const std::string& commandLine, int windowState) = 0;

    // Handles the events that are pending and returns at once, never
    // waiting for more: for a handler that works between its turns, such as
    // a copy. It may skip the turn when the last one was too recent for
    // anything to have changed.
    virtual void handlePendingEvents() = 0;

    // Ends the program at once: no further event of any kind is handled and
    // the handler that called it never resumes.
    [[noreturn]] virtual void endProgram() = 0;
};

}  // namespace trelvane::ui
