#include <string>

#include "ui/FailureRules.h"
#include "ui/Form1.h"
#include "ui/Form1Texts.h"

namespace trelvane::ui {

void Form1::command4Click() {
    rules::noRule(m_toolkit, [this] {
        resetForOpen();
        // A cancelled dialog, or any other failure up to the file being
        // recorded, ends the click quietly in the reset state.
        if (!rules::endHandlerOnFailure([this] { openChosenFile(); })) {
            return;
        }
        // An unplayable file goes unnoticed here: the device only records
        // its statuses, and Play's steps run on whatever it answers.
        play();
    });
}

void Form1::resetForOpen() {
    m_toolkit.setSliderValue(0);
    player().closeMovie();
    m_toolkit.setLabelCaption(ValueLabel::Label7, "0");
    m_toolkit.setLabelCaption(ValueLabel::Label9, "0");
    m_toolkit.setLabelCaption(ValueLabel::Label3, "0");
    m_state.clipBegin = 0;
    m_state.clipEnd = 0;
    m_toolkit.setTimerEnabled(false);
    // Set on every click: a save may have changed the shared dialog's filter.
    m_toolkit.setDialogFilter(std::string(texts::kVobFilter));
}

void Form1::openChosenFile() {
    m_toolkit.showOpenDialog();
    player().setFilename(m_toolkit.dialogFileName());
    const std::int32_t parent = m_toolkit.videoWindowHandle();
    player().openMovieWindow(parent, std::string(texts::kVideoWindowStyle));
    m_state.movieFile = m_toolkit.dialogFileName();
    // The next open dialog comes up without a name filled in.
    m_toolkit.setDialogFileName("");
}

}  // namespace trelvane::ui
