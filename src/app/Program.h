#pragma once

#include "clip/PosixClipFiles.h"
#include "mci/MediaService.h"
#include "mci/mpv/PlayerOutputs.h"
#include "movie/ServiceChannel.h"
#include "movie/SystemTimeOfDayClock.h"
#include "ui/Form1.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtToolkit.h"
#include "ui/qt/QtWaitHost.h"
#include "ui/qt/ThreadWakeUp.h"

namespace trelvane::app {

// The whole program, wired: the media command service on players with the
// given outputs and the channel to it, the clock, the system's files, the
// window, its toolkit and its handlers. Needs
// a QApplication; nothing runs until the window's events do.
class Program {
public:
    explicit Program(const mci::PlayerOutputs& outputs);

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    void show() { m_window.show(); }

    mci::MediaService& mediaService() { return m_mediaService; }
    ui::QtToolkit& toolkit() { return m_toolkit; }
    ui::Form1& form() { return m_form; }

private:
    // Outlives the players, which wake the window's loop through it.
    ui::ThreadWakeUp m_playerWakeUp;
    // Keeps the window painting and answering while a player waits.
    ui::QtWaitHost m_waitHost;
    mci::MediaService m_mediaService;
    movie::ServiceChannel<mci::MediaService> m_channel{m_mediaService};
    movie::SystemTimeOfDayClock m_clock;
    clip::PosixClipFiles m_files;
    ui::MainWindow m_window;
    ui::QtToolkit m_toolkit;
    ui::Form1 m_form;
};

}  // namespace trelvane::app
