#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "clip/ClipCopy.h"
#include "clip/ClipFiles.h"
#include "core/Failure.h"
#include "movie/CommandChannel.h"
#include "movie/MovieModule.h"
#include "movie/TimeOfDayClock.h"
#include "ui/FormEvents.h"
#include "ui/FormState.h"
#include "ui/GuidePage.h"
#include "ui/Toolkit.h"

namespace trelvane::ui {

// The main window's logic: its state record and the handlers of its twelve
// events, written against the toolkit operations only. Nothing runs when it
// is made; every handler runs when the toolkit delivers its event, and each
// one keeps failures to itself. The toolkit also serves as the event pass of
// the movie control's waits.
class Form1 : public FormEvents {
public:
    // `files` are what a save reads and writes; all four must outlive the window.
    Form1(Toolkit& toolkit, movie::CommandChannel& channel, movie::TimeOfDayClock& clock,
          clip::ClipFiles& files);

    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void command1Click() override;
    void command2Click() override;
    void command3Click() override;
    void command4Click() override;
    void command5Click() override;
    void command6Click() override;
    void command7Click() override;
    void command8Click() override;
    void command9Click() override;
    void formUnload() override;
    void sliderClick() override;
    void timerTick() override;

    const FormState& state() const { return m_state; }

    // The files the saves from now on read and write, in place of those
    // handed to the constructor. They must outlive the window.
    void useClipFiles(clip::ClipFiles& files) { m_files = &files; }

    // Where Home Page looks for the guide; by default the source tree's
    // page, as the executable's folder is not known here.
    void useGuide(GuidePlaces places) { m_guide = std::move(places); }

private:
    // The movie control, made on first use.
    movie::MovieModule& player();

    // Play's steps, each skipped on failure; an open ends with them too.
    void play();
    void stop();
    void pause();
    void tick();

    void resetForOpen();
    void openChosenFile();

    void showClipLength();
    void playSelected();
    void followPreviewUntilEnd();

    void saveClip();
    void saveToChosenTarget();
    void setSaveLockedControlsEnabled(bool enabled);
    std::optional<std::string> chooseTarget();
    bool isOpenedMovie(const std::string& path);
    bool userKeepsExisting(clip::ClipTarget& target);
    bool askAboutExisting(clip::ClipTarget& target);
    void finishSave(clip::ClipCopy& copy);
    void endSave(clip::ClipCopy& copy, const std::optional<Failure>& notSaved);

    void setLabelNumber(ValueLabel label, std::int32_t value);
    void showNotice(std::string_view text);

    Toolkit& m_toolkit;
    movie::CommandChannel& m_channel;
    movie::TimeOfDayClock& m_clock;
    FormState m_state;
    clip::ClipFiles* m_files;
    GuidePlaces m_guide;
};

}  // namespace trelvane::ui
