#include <array>
#include <string>

#include "clip/ClipFailures.h"
#include "clip/ClipSelection.h"
#include "clip/ClipTarget.h"
#include "clip/OpenFile.h"
#include "ui/FailureRules.h"
#include "ui/Form1.h"
#include "ui/Form1Texts.h"
#include "ui/FormCopyHost.h"

namespace trelvane::ui {
namespace {

// What a save keeps out while it runs, in the order they are switched; the
// slider follows them. Home Page stays usable.
constexpr std::array kSaveLockedButtons{
    PictureButton::Command1, PictureButton::Command2, PictureButton::Command3,
    PictureButton::Command4, PictureButton::Command5, PictureButton::Command6,
    PictureButton::Command7, PictureButton::Command9,
};

}  // namespace

void Form1::command7Click() {
    rules::noRule(m_toolkit, [this] { saveClip(); });
}

void Form1::saveClip() {
    if (!clip::acceptSelection(m_state.clipBegin, m_state.clipEnd)) {
        showNotice(texts::kInvalidSelection);
        return;
    }
    setSaveLockedControlsEnabled(false);
    // Not resumed afterwards: the save leaves the movie stopped.
    player().stopMovie();
    m_toolkit.setSliderValue(0);
    m_toolkit.setCaption(std::string(texts::kSaving));
    saveToChosenTarget();
}

void Form1::saveToChosenTarget() {
    FormCopyHost host(m_toolkit, [this] { return player().getLengthInSec(); });
    // Closes the source and the target on every way out of the handler. An
    // ended program leaves them to the system, and a staged clip goes with them.
    clip::ClipCopy copy(*m_files, host);
    // A cancelled dialog, like any failure in choosing, ends without a word.
    std::optional<std::string> chosen;
    if (rules::goToEndingOnFailure([&] { chosen = chooseTarget(); }) || !chosen) {
        endSave(copy, std::nullopt);
        return;
    }
    clip::ClipTarget target(*m_files, *chosen);
    if (userKeepsExisting(target)) {
        endSave(copy, std::nullopt);
        return;
    }
    const std::optional<Failure> notSaved = rules::goToEndingOnFailure([&] {
        copy.run(m_state.movieFile, target, m_state.clipBegin, m_state.clipEnd);
        target.commit();
    });
    if (notSaved) {
        endSave(copy, notSaved);
        return;
    }
    finishSave(copy);
}

void Form1::setSaveLockedControlsEnabled(bool enabled) {
    for (const PictureButton button : kSaveLockedButtons) {
        m_toolkit.setButtonEnabled(button, enabled);
    }
    m_toolkit.setSliderEnabled(enabled);
}

std::optional<std::string> Form1::chooseTarget() {
    m_toolkit.setDialogFilter(std::string(texts::kClipFilter));
    m_toolkit.setDialogTitle(std::string(texts::kSaveDialogTitle));
    m_toolkit.showSaveDialog();
    std::string target = m_toolkit.dialogFileName();
    if (isOpenedMovie(target)) {
        showNotice(texts::kFileInUse);
        return std::nullopt;
    }
    return target;
}

bool Form1::isOpenedMovie(const std::string& path) {
    // Compared as files too: a link or another spelling of the movie's path
    // would otherwise pass, and emptying the target would empty the movie.
    return path == m_state.movieFile || m_files->isSameFile(path, m_state.movieFile);
}

bool Form1::userKeepsExisting(clip::ClipTarget& target) {
    // Any failure here counts as a target that does not exist yet; opening
    // it for the copy then decides.
    bool keep = false;
    rules::skipOnFailure([&] { keep = askAboutExisting(target); });
    return keep;
}

bool Form1::askAboutExisting(clip::ClipTarget& target) {
    // Only a file that can be read counts as existing.
    clip::OpenFile probe = clip::OpenFile::forReading(*m_files, target.path());
    probe.close();
    const MessageAnswer answer = m_toolkit.showMessage(
        std::string(texts::kOverwriteQuestion), MessageButtons::YesNo, std::string(texts::kTitle));
    if (answer != MessageAnswer::Yes) {
        return true;
    }
    target.replaceExisting();
    return false;
}

void Form1::finishSave(clip::ClipCopy& copy) {
    copy.close();
    m_toolkit.setCaption(std::string(texts::kTitle));
    // The bar still shows how far the copy came while the box is up.
    showNotice(texts::kClipSaved);
    m_toolkit.setProgressValue(0);
    setSaveLockedControlsEnabled(true);
    // The dialog keeps the target's name, offered again by the next save.
}

void Form1::endSave(clip::ClipCopy& copy, const std::optional<Failure>& notSaved) {
    // Said while the caption still reads "Saving". What was written stays.
    if (notSaved) {
        showNotice(std::string(texts::kClipNotSaved) + clip::failures::reason(*notSaved));
    }
    m_toolkit.setCaption(std::string(texts::kTitle));
    m_toolkit.setProgressValue(0);
    setSaveLockedControlsEnabled(true);
    copy.close();
    m_toolkit.setDialogFileName("");
}

void Form1::showNotice(std::string_view text) {
    m_toolkit.showMessage(std::string(text), MessageButtons::Ok, std::string(texts::kTitle));
}

}  // namespace trelvane::ui
