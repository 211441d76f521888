#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "FakePlayerFactory.h"
#include "FakeToolkit.h"
#include "FaultyClipFiles.h"
#include "TappedChannel.h"
#include "TempDir.h"
#include "clip/PosixClipFiles.h"
#include "mci/MediaService.h"
#include "movie/ServiceChannel.h"
#include "ui/Form1.h"

namespace trelvane::ui::testing {

using Texts = std::vector<std::string>;

// The window's logic on a fake toolkit and the real media service, whose
// players are fakes that move on while playing, in step with the clock. Every
// command sent is tapped and woven into the toolkit's log as "send: ...".
// Saves go through real files that a test can make fail.
class FormTest : public ::testing::Test {
protected:
    static constexpr double kPassStep = 0.1;

    FormTest();

    // Chooses a fresh file of that name in the open dialog and clicks Open.
    std::string openMovie(const std::string& name, std::int64_t lengthMs = 5'400'000);
    // The player of the file opened last.
    mci::testing::FakePlayerScript& movie() { return m_factory->last(); }
    // The user moves the slider to `second` with the mouse and lets go.
    void clickSlider(std::int32_t second);
    // Sets a mark with the movie standing at `ms`.
    void markBeginAt(std::int64_t ms);
    void markEndAt(std::int64_t ms);
    // The program's own log entries from `from` on.
    Texts logFrom(std::size_t from) const;
    // Clicks `click` with the clock on a whole second, and returns how long it took.
    double timed(void (Form1::*click)());

    // What a run in which the program may end left to be seen: whether it
    // ended, the toolkit's log, and facts the test asked for at its end.
    struct Run {
        bool ended = false;
        Texts log;
        Texts facts;
    };
    // Runs `scenario` in a child process whose end of the program is a real
    // one (FakeToolkit::mayEnd); `facts` is asked for just before the end.
    // Files the run wrote stay on disk for the test to look at.
    Run runToEnd(const std::function<void()>& scenario, const std::function<Texts()>& facts = {});

    mci::testing::TempDir m_dir;
    movie::FakeClock m_clock{100.0};
    FakeToolkit m_toolkit{m_clock, kPassStep};
    mci::testing::FakePlayerFactory* m_factory = nullptr;
    std::unique_ptr<mci::MediaService> m_service;
    std::unique_ptr<movie::ServiceChannel<mci::MediaService>> m_serviceChannel;
    std::unique_ptr<TappedChannel> m_channel;
    clip::PosixClipFiles m_posix;
    clip::testing::FaultyClipFiles m_files{m_posix};
    std::unique_ptr<Form1> m_form;

private:
    void movePlayingMovies();
};

}  // namespace trelvane::ui::testing
