#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "core/Failure.h"
#include "ui/Toolkit.h"

namespace trelvane::ui::testing {

struct ShownMessage {
    std::string text;
    MessageButtons buttons;
    std::string title;
};

// A toolkit without a window. It logs every call but the event passes, in
// order and readably ("setLabelCaption(Label3, \"0\")"), keeps the state the
// calls leave behind, and plays back what a test scripted: dialog results,
// message-box answers, failing operations and events that arrive during a
// pass of the event loop. Every pass moves the clock on by a fixed step.
class FakeToolkit : public Toolkit {
public:
    // The failure a cancelled dialog reports.
    static Failure cancelled() {
        return Failure(failureNumber::CancelSelected, "Cancel was selected.");
    }

    FakeToolkit(movie::FakeClock& clock, double passStep);

    // --- scripting ---
    // The next dialog shown returns this full path; nullopt cancels it. A
    // dialog with nothing scripted is cancelled.
    void scriptDialog(std::optional<std::string> fileName);
    void scriptMessageAnswer(MessageAnswer answer);
    // The next call of `operation` (a member name, e.g. "startProcess")
    // throws `failure`.
    void failNextCall(const std::string& operation, Failure failure);
    // The slider keeps reporting `reading`, whatever it is set to.
    void jamSlider(std::int32_t reading);
    // Runs in every pass, before the events: e.g. the movie moving on.
    void onEveryPass(std::function<void()> action);
    // Runs once, in the first pass at which `due` holds (checked after the
    // every-pass actions); events due together run in the order queued.
    void duringPassWhen(std::function<bool()> due, std::function<void()> event);
    void duringNextPass(std::function<void()> event);
    // The user moving the slider with the mouse: clamped, not logged.
    void userMovesSlider(std::int32_t value);
    // Lets a test weave other happenings (e.g. media commands) into the log.
    void note(const std::string& entry) { m_log.push_back(entry); }
    // In a child process only (FormTest::runToEnd): lets endProgram() end it,
    // as the real end does, after writing the log, a line "--" and `facts()`
    // to `report`, one entry per line. Anywhere else an end of the program
    // aborts the test program: a test must say where it expects one.
    void mayEnd(int report, std::function<std::vector<std::string>()> facts);
    // Writes the log, "--" and the facts to the report.
    void report() const;

    // --- what happened ---
    const std::vector<std::string>& log() const { return m_log; }
    const std::vector<ShownMessage>& messages() const { return m_messages; }
    std::string labelCaption(ValueLabel label) const;
    const std::string& caption() const { return m_caption; }
    bool buttonEnabled(PictureButton button) const;
    bool sliderIsEnabled() const { return m_sliderEnabled; }
    std::int32_t sliderShows() const { return m_sliderValue; }
    std::int32_t sliderMaximum() const { return m_sliderMaximum; }
    bool timerEnabled() const { return m_timerEnabled; }
    float progressShows() const { return m_progressValue; }
    const std::string& dialogFilter() const { return m_dialogFilter; }
    const std::string& dialogTitle() const { return m_dialogTitle; }
    const std::string& dialogFileNameNow() const { return m_dialogFileName; }
    int passes() const { return m_passes; }

    // --- Toolkit ---
    void runOnePass() override;
    // The fake never waits, so both kinds of pass are the same to it.
    void handlePendingEvents() override { runOnePass(); }
    void setCaption(const std::string& caption) override;
    void setLabelCaption(ValueLabel label, const std::string& caption) override;
    void setButtonEnabled(PictureButton button, bool enabled) override;
    void setSliderEnabled(bool enabled) override;
    std::int32_t sliderValue() override;
    void setSliderValue(std::int32_t value) override;
    void setSliderMaximum(std::int32_t maximum) override;
    void setTimerEnabled(bool enabled) override;
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
    void startProcess(const std::string& commandLine, int windowState) override;
    // Removes what the program's end removes, reports, and ends the process
    // with kEndedCode, running nothing more.
    [[noreturn]] void endProgram() override;

    static constexpr std::int32_t kVideoWindowHandle = 4242;
    static constexpr int kEndedCode = 86;

private:
    struct PassEvent {
        std::function<bool()> due;
        std::function<void()> event;
    };

    // A pretend event loop that is never left is a broken test, not a wait.
    static constexpr int kMaxPasses = 1'000'000;

    void call(const std::string& entry);
    void showDialog(const std::string& which);
    void runDueEvents();

    movie::FakeClock& m_clock;
    double m_passStep;
    std::vector<std::string> m_log;
    std::map<std::string, Failure> m_failures;
    std::deque<std::optional<std::string>> m_dialogResults;
    std::deque<MessageAnswer> m_messageAnswers;
    std::vector<ShownMessage> m_messages;
    std::vector<std::function<void()>> m_everyPass;
    std::deque<PassEvent> m_events;
    std::map<ValueLabel, std::string> m_labels;
    std::map<PictureButton, bool> m_buttons;
    std::optional<std::int32_t> m_jammedSlider;
    std::string m_caption = "Trelvane 2.0";
    std::string m_dialogFilter;
    std::string m_dialogTitle;
    std::string m_dialogFileName;
    std::int32_t m_sliderValue = 0;
    std::int32_t m_sliderMaximum = 10;
    float m_progressValue = 0;
    float m_progressMaximum = 100;
    int m_passes = 0;
    bool m_sliderEnabled = true;
    bool m_timerEnabled = false;
    int m_report = -1;
    std::function<std::vector<std::string>()> m_facts;
};

}  // namespace trelvane::ui::testing
