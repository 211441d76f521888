#include "FormTest.h"

namespace trelvane::ui::testing {
namespace {

class Playback : public FormTest {
protected:
    Playback() {
        openMovie("a.vob");
        m_channel->forget();
    }
};

TEST_F(Playback, PauseStopAndPlayDriveTheDeviceAndWait) {
    struct Step {
        const char* name;
        void (Form1::*click)();
        Texts sent;
        double wait;
        bool running;  // the movie plays and the timer follows it
        std::int64_t positionAfter;
    };
    const Texts play{"play movie", "set movie time format ms", "status movie length"};
    const Texts stop{"stop movie", "status movie mode", "status movie mode", "seek movie to 0"};
    const std::vector<Step> steps{
        {"pause", &Form1::command3Click, {"pause movie"}, 1.0, false, 30'000},
        {"play on from the pause", &Form1::command1Click, play, 0.5, true, 30'500},
        {"stop", &Form1::command2Click, stop, 1.0, false, 0},
        {"play from the start", &Form1::command1Click, play, 0.5, true, 500},
    };
    movie().positionMs = 30'000;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        m_channel->forget();
        EXPECT_DOUBLE_EQ(timed(step.click), step.wait);
        EXPECT_EQ(m_channel->texts(), step.sent);
        EXPECT_EQ(m_toolkit.timerEnabled(), step.running);
        EXPECT_EQ(!movie().paused, step.running);
        EXPECT_EQ(movie().positionMs, step.positionAfter);
        EXPECT_EQ(m_toolkit.sliderMaximum(), 5400);
    }
}

TEST_F(Playback, StopSeeksToTheStartAboutASecondLaterAndShowsZero) {
    m_toolkit.userMovesSlider(75);
    m_toolkit.setLabelCaption(ValueLabel::Label4, "75");
    timed(&Form1::command2Click);
    const auto& sent = m_channel->sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent.front().text, "stop movie");
    EXPECT_EQ(sent.back().text, "seek movie to 0");
    EXPECT_NEAR(sent.back().at - sent.front().at, 1.0, 1e-9);
    EXPECT_EQ(m_toolkit.sliderShows(), 0);
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label4), "0");
}

TEST_F(Playback, PauseOrStopDuringPlaysWaitHasTheLastWord) {
    const Texts playSent{"play movie", "set movie time format ms", "status movie length"};
    struct Case {
        const char* name;
        void (Form1::*inner)();
        Texts after;
    };
    const std::vector<Case> cases{
        {"pause", &Form1::command3Click, {"pause movie"}},
        {"stop",
         &Form1::command2Click,
         {"stop movie", "status movie mode", "status movie mode", "seek movie to 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_channel->forget();
        m_toolkit.duringNextPass([&] { (m_form.get()->*c.inner)(); });
        timed(&Form1::command1Click);
        Texts expected = playSent;
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(m_channel->texts(), expected);
        EXPECT_FALSE(m_toolkit.timerEnabled());
        EXPECT_TRUE(movie().paused);
    }
}

TEST_F(Playback, PlayDuringStopsWaitEndsPlayingFromTheStart) {
    movie().positionMs = 30'000;
    m_toolkit.duringNextPass([&] { m_form->command1Click(); });
    timed(&Form1::command2Click);
    EXPECT_EQ(m_channel->texts(),
              (Texts{"stop movie", "play movie", "set movie time format ms", "status movie length",
                     "status movie mode", "play movie from 0"}));
    EXPECT_TRUE(m_toolkit.timerEnabled());
    EXPECT_FALSE(movie().paused);
    EXPECT_EQ(movie().positionMs, 0);
    EXPECT_EQ(m_toolkit.sliderShows(), 0);
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label4), "0");
}

TEST_F(Playback, TicksShowWholeSecondsAndSkipAFailingStep) {
    movie().positionMs = 83'900;
    m_form->timerTick();
    EXPECT_EQ(m_toolkit.sliderShows(), 83);
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label4), "83");

    // A position beyond the 32-bit range fails the first step only: the label
    // still shows what the slider holds.
    movie().positionMs = 3'000'000'000;
    m_toolkit.userMovesSlider(50);
    m_form->timerTick();
    EXPECT_EQ(m_toolkit.sliderShows(), 50);
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label4), "50");

    // So does a slider that refuses the value.
    movie().positionMs = 90'000;
    m_toolkit.failNextCall("setSliderValue",
                           Failure(failureNumber::InvalidPropertyValue, "Invalid property value"));
    m_form->timerTick();
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label4), "50");
    EXPECT_TRUE(m_toolkit.messages().empty());
}

TEST_F(Playback, SliderClickPlaysFromOrMovesToItsValueByTheDevicesMode) {
    clickSlider(12);
    EXPECT_EQ(m_channel->texts(), (Texts{"status movie mode", "play movie from 12000"}));
    EXPECT_FALSE(movie().paused);

    m_form->command3Click();
    m_channel->forget();
    clickSlider(40);
    EXPECT_EQ(m_channel->texts(),
              (Texts{"status movie mode", "status movie mode", "seek movie to 40000"}));
    EXPECT_TRUE(movie().paused);
    EXPECT_EQ(movie().positionMs, 40'000);
    EXPECT_FALSE(m_toolkit.timerEnabled());
}

TEST_F(Playback, AnOverflowInStopIsReportedAndEndsTheProgram) {
    // A slider reading beyond 2147483 s is more milliseconds than 32 bits hold.
    m_toolkit.jamSlider(2'147'484);
    const std::size_t from = m_toolkit.log().size();
    const Run run = runToEnd(
        [this] { m_form->command2Click(); },
        [this] {
            return Texts{m_toolkit.messages().back().buttons == MessageButtons::Ok ? "OK"
                                                                                   : "Yes/No"};
        });
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(
        Texts(run.log.begin() + static_cast<std::ptrdiff_t>(from), run.log.end()),
        (Texts{"send: stop movie", "setTimerEnabled(false)", "setSliderValue(0)", "sliderValue()",
               "showMessage(\"Error 6: Overflow\", \"Trelvane 2.0\")", "endProgram()"}));
    EXPECT_EQ(run.facts, Texts{"OK"});
}

}  // namespace
}  // namespace trelvane::ui::testing
