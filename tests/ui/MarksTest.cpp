#include "FormTest.h"

namespace trelvane::ui::testing {
namespace {

class Marks : public FormTest {
protected:
    Marks() { openMovie("a.vob"); }

    // Begin 10, end 20, and the movie paused somewhere else.
    void markTenToTwenty() {
        markBeginAt(10'000);
        markEndAt(20'000);
        movie().positionMs = 30'000;
        m_form->command3Click();
        m_channel->forget();
    }

    void atSecond(std::int32_t second, std::function<void()> event) {
        m_toolkit.duringPassWhen(
            [this, second] { return movie().positionMs >= std::int64_t{second} * 1000; },
            std::move(event));
    }
};

TEST_F(Marks, ShowBothMarksAndTheLengthOnlyForAValidSelection) {
    struct Case {
        const char* name;
        bool beginFirst;
        std::int64_t beginMs;
        std::int64_t endMs;
        const char* length;
        bool valid;
    };
    const std::vector<Case> cases{
        {"begin then end", true, 12'900, 47'100, "35", true},
        {"end then begin", false, 12'000, 47'999, "35", true},
        {"begin after end", false, 30'000, 10'000, "0", false},
        {"equal", true, 20'000, 20'500, "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.beginFirst) {
            markBeginAt(c.beginMs);
            markEndAt(c.endMs);
        } else {
            markEndAt(c.endMs);
            markBeginAt(c.beginMs);
        }
        EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label7), std::to_string(c.beginMs / 1000));
        EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label9), std::to_string(c.endMs / 1000));
        EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label3), c.length);
        if (!c.valid) {
            m_channel->forget();
            const std::size_t shown = m_toolkit.messages().size();
            m_form->command9Click();
            ASSERT_EQ(m_toolkit.messages().size(), shown + 1);
            EXPECT_EQ(m_toolkit.messages().back().text, "Invalid Selection");
            EXPECT_EQ(m_toolkit.messages().back().title, "Trelvane 2.0");
            EXPECT_EQ(m_toolkit.messages().back().buttons, MessageButtons::Ok);
            EXPECT_TRUE(m_channel->texts().empty());
        }
    }
}

TEST_F(Marks, PreviewPlaysFromTheBeginAndPausesAtTheEnd) {
    markTenToTwenty();
    atSecond(15, [this] { m_form->timerTick(); });
    m_form->command9Click();

    const Texts sent = m_channel->texts();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(Texts(sent.begin(), sent.begin() + 3),
              (Texts{"play movie", "status movie mode", "play movie from 10000"}));
    EXPECT_EQ(sent.back(), "pause movie");
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "pause movie"), 1);
    EXPECT_TRUE(movie().paused);
    EXPECT_EQ(movie().positionMs, 20'000);
    EXPECT_TRUE(m_toolkit.timerEnabled());
    // The label follows the slider, which only the tick at 15 s moved.
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label4), "15");
}

TEST_F(Marks, PreviewFollowsAnEndMarkSetWhileItRuns) {
    markTenToTwenty();
    atSecond(15, [this] {
        clickSlider(40);
        m_form->command6Click();
        clickSlider(15);
    });
    m_form->command9Click();
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label3), "30");
    EXPECT_EQ(m_channel->texts().back(), "pause movie");
    EXPECT_EQ(movie().positionMs, 40'000);
}

TEST_F(Marks, AnOpenDuringThePreviewEndsItOnTheNewMovie) {
    markTenToTwenty();
    const std::string second = m_dir.makeFile("b.vob");
    atSecond(15, [this, second] {
        m_toolkit.scriptDialog(second);
        m_form->command4Click();
    });
    m_form->command9Click();
    EXPECT_EQ(movie().opened->path, second);
    EXPECT_TRUE(m_factory->scripts.front()->destroyed);
    EXPECT_EQ(m_channel->texts().back(), "pause movie");
    EXPECT_TRUE(movie().paused);
    // Paused on the first turn after the open, not once the new movie reached 20 s.
    EXPECT_LT(movie().positionMs, 2'000);
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label9), "0");
}

TEST_F(Marks, ClosingTheWindowDuringThePreviewSendsNothingMore) {
    markTenToTwenty();
    atSecond(15, [this] { m_form->formUnload(); });
    const Run run = runToEnd([this] { m_form->command9Click(); },
                             [this] { return Texts{std::to_string(movie().positionMs)}; });
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(Texts(run.log.end() - 2, run.log.end()), (Texts{"send: close all", "endProgram()"}));
    EXPECT_LT(std::stoll(run.facts.at(0)), 20'000);
}

}  // namespace
}  // namespace trelvane::ui::testing
