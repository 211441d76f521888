#include "FakeToolkit.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "core/ProgramEnd.h"

namespace trelvane::ui::testing {
namespace {

std::string nameOf(ValueLabel label) {
    static constexpr std::array<const char*, 4> kNames{"Label3", "Label4", "Label7", "Label9"};
    return kNames[static_cast<std::size_t>(label)];
}

std::string nameOf(PictureButton button) {
    return "Command" + std::to_string(static_cast<int>(button) + 1);
}

std::string quoted(const std::string& text) {
    return '"' + text + '"';
}

std::string onOff(bool on) {
    return on ? "true" : "false";
}

}  // namespace

FakeToolkit::FakeToolkit(movie::FakeClock& clock, double passStep)
    : m_clock(clock), m_passStep(passStep) {}

void FakeToolkit::scriptDialog(std::optional<std::string> fileName) {
    m_dialogResults.push_back(std::move(fileName));
}

void FakeToolkit::scriptMessageAnswer(MessageAnswer answer) {
    m_messageAnswers.push_back(answer);
}

void FakeToolkit::failNextCall(const std::string& operation, Failure failure) {
    m_failures.insert_or_assign(operation, std::move(failure));
}

void FakeToolkit::jamSlider(std::int32_t reading) {
    m_jammedSlider = reading;
}

void FakeToolkit::onEveryPass(std::function<void()> action) {
    m_everyPass.push_back(std::move(action));
}

void FakeToolkit::duringPassWhen(std::function<bool()> due, std::function<void()> event) {
    m_events.push_back({std::move(due), std::move(event)});
}

void FakeToolkit::duringNextPass(std::function<void()> event) {
    duringPassWhen([] { return true; }, std::move(event));
}

void FakeToolkit::userMovesSlider(std::int32_t value) {
    m_sliderValue = std::clamp(value, 0, m_sliderMaximum);
}

std::string FakeToolkit::labelCaption(ValueLabel label) const {
    const auto found = m_labels.find(label);
    return found == m_labels.end() ? std::string() : found->second;
}

bool FakeToolkit::buttonEnabled(PictureButton button) const {
    const auto found = m_buttons.find(button);
    return found == m_buttons.end() || found->second;
}

void FakeToolkit::runOnePass() {
    if (++m_passes > kMaxPasses) {
        throw std::logic_error("the event loop was never left");
    }
    m_clock.advance(m_passStep);
    for (const auto& action : m_everyPass) {
        action();
    }
    runDueEvents();
}

void FakeToolkit::runDueEvents() {
    // Taken off the queue before they run, since an event may itself wait
    // and so run passes of its own.
    std::vector<std::function<void()>> due;
    for (auto it = m_events.begin(); it != m_events.end();) {
        if (it->due()) {
            due.push_back(std::move(it->event));
            it = m_events.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& event : due) {
        event();
    }
}

void FakeToolkit::call(const std::string& entry) {
    m_log.push_back(entry);
    const std::string operation = entry.substr(0, entry.find('('));
    if (const auto found = m_failures.find(operation); found != m_failures.end()) {
        const Failure failure = found->second;
        m_failures.erase(found);
        throw failure;
    }
}

void FakeToolkit::setCaption(const std::string& caption) {
    call("setCaption(" + quoted(caption) + ")");
    m_caption = caption;
}

void FakeToolkit::setLabelCaption(ValueLabel label, const std::string& caption) {
    call("setLabelCaption(" + nameOf(label) + ", " + quoted(caption) + ")");
    m_labels[label] = caption;
}

void FakeToolkit::setButtonEnabled(PictureButton button, bool enabled) {
    call("setButtonEnabled(" + nameOf(button) + ", " + onOff(enabled) + ")");
    m_buttons[button] = enabled;
}

void FakeToolkit::setSliderEnabled(bool enabled) {
    call("setSliderEnabled(" + onOff(enabled) + ")");
    m_sliderEnabled = enabled;
}

std::int32_t FakeToolkit::sliderValue() {
    call("sliderValue()");
    return m_jammedSlider.value_or(m_sliderValue);
}

void FakeToolkit::setSliderValue(std::int32_t value) {
    call("setSliderValue(" + std::to_string(value) + ")");
    m_sliderValue = std::clamp(value, 0, m_sliderMaximum);
}

void FakeToolkit::setSliderMaximum(std::int32_t maximum) {
    call("setSliderMaximum(" + std::to_string(maximum) + ")");
    // The minimum stays 0, and the value never lies outside the range.
    m_sliderMaximum = std::max(maximum, 0);
    m_sliderValue = std::min(m_sliderValue, m_sliderMaximum);
}

void FakeToolkit::setTimerEnabled(bool enabled) {
    call("setTimerEnabled(" + onOff(enabled) + ")");
    m_timerEnabled = enabled;
}

float FakeToolkit::progressValue() {
    call("progressValue()");
    return m_progressValue;
}

void FakeToolkit::setProgressValue(float value) {
    call("setProgressValue(" + std::to_string(value) + ")");
    m_progressValue = std::clamp(value, 0.0f, m_progressMaximum);
}

void FakeToolkit::setProgressMaximum(float maximum) {
    call("setProgressMaximum(" + std::to_string(maximum) + ")");
    m_progressMaximum = maximum;
}

std::int32_t FakeToolkit::videoWindowHandle() {
    call("videoWindowHandle()");
    return kVideoWindowHandle;
}

void FakeToolkit::setDialogFilter(const std::string& filter) {
    call("setDialogFilter(" + quoted(filter) + ")");
    m_dialogFilter = filter;
}

void FakeToolkit::setDialogTitle(const std::string& title) {
    call("setDialogTitle(" + quoted(title) + ")");
    m_dialogTitle = title;
}

std::string FakeToolkit::dialogFileName() {
    call("dialogFileName()");
    return m_dialogFileName;
}

void FakeToolkit::setDialogFileName(const std::string& fileName) {
    call("setDialogFileName(" + quoted(fileName) + ")");
    m_dialogFileName = fileName;
}

void FakeToolkit::showOpenDialog() {
    showDialog("showOpenDialog");
}

void FakeToolkit::showSaveDialog() {
    showDialog("showSaveDialog");
}

void FakeToolkit::showDialog(const std::string& which) {
    // The log shows the settings the user saw the dialog with.
    call(which + "(" + quoted(m_dialogFilter) + ", " + quoted(m_dialogTitle) + ", " +
         quoted(m_dialogFileName) + ")");
    std::optional<std::string> result;
    if (!m_dialogResults.empty()) {
        result = std::move(m_dialogResults.front());
        m_dialogResults.pop_front();
    }
    if (!result) {
        throw cancelled();
    }
    m_dialogFileName = *result;
}

MessageAnswer FakeToolkit::showMessage(const std::string& text, MessageButtons buttons,
                                       const std::string& title) {
    call("showMessage(" + quoted(text) + ", " + quoted(title) + ")");
    m_messages.push_back({text, buttons, title});
    if (m_messageAnswers.empty()) {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    const MessageAnswer answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
}

void FakeToolkit::startProcess(const std::string& commandLine, int windowState) {
    call("startProcess(" + quoted(commandLine) + ", " + std::to_string(windowState) + ")");
}

void FakeToolkit::mayEnd(int report, std::function<std::vector<std::string>()> facts) {
    m_report = report;
    m_facts = std::move(facts);
}

void FakeToolkit::report() const {
    std::string text;
    for (const std::string& entry : m_log) {
        text += entry + '\n';
    }
    text += "--\n";
    for (const std::string& fact : m_facts ? m_facts() : std::vector<std::string>{}) {
        text += fact + '\n';
    }
    for (std::size_t put = 0; put < text.size();) {
        const ssize_t n = ::write(m_report, text.data() + put, text.size() - put);
        if (n <= 0) {
            break;
        }
        put += static_cast<std::size_t>(n);
    }
}

void FakeToolkit::endProgram() {
    m_log.push_back("endProgram()");
    if (m_report < 0) {
        std::fputs("endProgram() outside FormTest::runToEnd\n", stderr);
        std::abort();
    }
    programEnd::removeLeftovers();
    report();
    ::_exit(kEndedCode);
}

}  // namespace trelvane::ui::testing
