#include "core/Int32.h"
#include "ui/FailureRules.h"
#include "ui/Form1.h"

namespace trelvane::ui {

void Form1::command1Click() {
    rules::noRule(m_toolkit, [this] { play(); });
}

void Form1::command2Click() {
    rules::noRule(m_toolkit, [this] { stop(); });
}

void Form1::command3Click() {
    rules::noRule(m_toolkit, [this] { pause(); });
}

void Form1::sliderClick() {
    // The value already holds the user's mouse action; the device's mode
    // decides between playing from there and only moving there.
    rules::noRule(m_toolkit, [this] { player().setPositionTo(m_toolkit.sliderValue()); });
}

void Form1::timerTick() {
    rules::noRule(m_toolkit, [this] { tick(); });
}

void Form1::play() {
    rules::skipOnFailure([this] { player().playMovie(); });
    rules::skipOnFailure([this] { m_toolkit.setTimerEnabled(true); });
    rules::skipOnFailure([this] { m_toolkit.setSliderMaximum(player().getLengthInSec()); });
    // A Pause or Stop clicked during this wait has the last word: nothing
    // after it switches the timer back on.
    rules::skipOnFailure([this] { player().timeOut(0.5); });
}

void Form1::stop() {
    player().stopMovie();
    m_toolkit.setTimerEnabled(false);
    player().timeOut(1);
    m_toolkit.setSliderValue(0);
    // Read back rather than assumed 0: what the slider holds is what is shown.
    // Should a Play have run during the wait, this plays from the start.
    player().setPositionTo(m_toolkit.sliderValue());
    m_toolkit.setLabelCaption(ValueLabel::Label4, "0");
}

void Form1::pause() {
    player().pauseMovie();
    m_toolkit.setTimerEnabled(false);
    player().timeOut(1);
}

void Form1::tick() {
    rules::skipOnFailure([this] { m_toolkit.setSliderValue(player().getPositionInSec()); });
    // The label follows the slider, so a skipped first step leaves both on the old value.
    rules::skipOnFailure([this] { setLabelNumber(ValueLabel::Label4, m_toolkit.sliderValue()); });
}

}  // namespace trelvane::ui
