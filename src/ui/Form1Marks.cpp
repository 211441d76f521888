#include <string>

#include "core/Int32.h"
#include "ui/FailureRules.h"
#include "ui/Form1.h"
#include "ui/Form1Texts.h"

namespace trelvane::ui {

void Form1::command5Click() {
    rules::noRule(m_toolkit, [this] {
        m_state.clipBegin = player().getPositionInSec();
        setLabelNumber(ValueLabel::Label7, m_state.clipBegin);
        showClipLength();
    });
}

void Form1::command6Click() {
    rules::noRule(m_toolkit, [this] {
        m_state.clipEnd = player().getPositionInSec();
        setLabelNumber(ValueLabel::Label9, m_state.clipEnd);
        showClipLength();
    });
}

void Form1::command9Click() {
    rules::noRule(m_toolkit, [this] { playSelected(); });
}

void Form1::showClipLength() {
    // Marks may be set in any order; a begin at or after the end shows no length.
    if (m_state.clipBegin < m_state.clipEnd) {
        setLabelNumber(ValueLabel::Label3, int32::subtract(m_state.clipEnd, m_state.clipBegin));
    } else {
        m_toolkit.setLabelCaption(ValueLabel::Label3, "0");
    }
}

void Form1::playSelected() {
    const std::int32_t begin = m_state.clipBegin;
    if (!(begin < m_state.clipEnd)) {
        m_toolkit.showMessage(std::string(texts::kInvalidSelection), MessageButtons::Ok,
                              std::string(texts::kTitle));
        return;
    }
    // Playing first makes the positioning restart play from the begin mark
    // even when the movie was paused or stopped.
    player().playMovie();
    player().setPositionTo(begin);
    m_toolkit.setTimerEnabled(true);
    followPreviewUntilEnd();
    // The timer stays on: the ticks keep showing the paused position.
    player().pauseMovie();
}

void Form1::followPreviewUntilEnd() {
    // The end mark is read afresh on every turn: a new end mark, or an open
    // that resets it, takes effect on the next one. A turn sleeps until
    // something happens; the player wakes it at the first frame of every new
    // second, so the pause comes within a frame of the mark.
    while (player().getPositionInSec() < m_state.clipEnd) {
        m_toolkit.runOnePass();
        setLabelNumber(ValueLabel::Label4, m_toolkit.sliderValue());
    }
}

}  // namespace trelvane::ui
