#include "ui/Form1.h"

#include <memory>
#include <string>

#include "core/Int32.h"
#include "ui/FailureRules.h"

namespace trelvane::ui {

Form1::Form1(Toolkit& toolkit, movie::CommandChannel& channel, movie::TimeOfDayClock& clock,
             clip::ClipFiles& files)
    : m_toolkit(toolkit), m_channel(channel), m_clock(clock), m_files(&files) {}

movie::MovieModule& Form1::player() {
    if (!m_state.player) {
        m_state.player = std::make_unique<movie::MovieModule>(m_channel, m_clock, m_toolkit);
    }
    return *m_state.player;
}

void Form1::command8Click() {
    rules::noRule(m_toolkit, [this] {
        // Looked for at every click, so that a guide installed or removed
        // meanwhile is found. Not waited for; a program that cannot be
        // started is an unhandled failure.
        m_toolkit.startProcess(homePageCommand(m_guide), kMinimizedWithFocus);
    });
}

void Form1::formUnload() {
    rules::noRule(m_toolkit, [this] {
        // "close all" closes every device of the program, open movie or not.
        player().closeMovie();
        m_toolkit.endProgram();
    });
}

void Form1::setLabelNumber(ValueLabel label, std::int32_t value) {
    m_toolkit.setLabelCaption(label, int32::decimalText(value));
}

}  // namespace trelvane::ui
