#include "SaveTest.h"

namespace trelvane::ui::testing {

using clip::testing::Bytes;
using clip::testing::patternFrom;

SaveTest::SaveTest() {
    m_source = openMovie("movie.vob", 100'000);
    clip::testing::writePattern(m_source, kSourceBytes);
}

void SaveTest::mark(std::int32_t begin, std::int32_t end) {
    markBeginAt(std::int64_t{begin} * 1000);
    markEndAt(std::int64_t{end} * 1000);
}

void SaveTest::saveTo(std::optional<std::string> target) {
    m_toolkit.scriptDialog(std::move(target));
    m_form->command7Click();
}

Texts SaveTest::messagesFrom(std::size_t from) const {
    Texts texts;
    for (std::size_t i = from; i < m_toolkit.messages().size(); ++i) {
        texts.push_back(m_toolkit.messages()[i].text);
    }
    return texts;
}

Bytes SaveTest::clipFrom(std::int64_t position, int passes) const {
    return patternFrom(position, 20'480 * std::int64_t{passes} + 1, kSourceBytes);
}

void SaveTest::expectWindowRestored() const {
    EXPECT_EQ(m_toolkit.caption(), "Trelvane 2.0");
    EXPECT_EQ(m_toolkit.progressShows(), 0.0f);
    for (int button = 0; button < 9; ++button) {
        EXPECT_TRUE(m_toolkit.buttonEnabled(static_cast<PictureButton>(button))) << button + 1;
    }
    EXPECT_TRUE(m_toolkit.sliderIsEnabled());
    EXPECT_EQ(m_files.openHandles(), 0u);
}

void SaveTest::expectSourceIntact() const {
    EXPECT_EQ(clip::testing::readBytes(m_source), patternFrom(1, kSourceBytes, kSourceBytes));
}

Texts joined(Texts first, const Texts& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Texts switchedControls(bool enabled) {
    const std::string on = enabled ? "true" : "false";
    Texts calls;
    for (const int button : {1, 2, 3, 4, 5, 6, 7, 9}) {
        calls.push_back("setButtonEnabled(Command" + std::to_string(button) + ", " + on + ")");
    }
    calls.push_back("setSliderEnabled(" + on + ")");
    return calls;
}

Texts preparedLog(const std::string& dialogName) {
    const std::string filter = "\"VOB Files(*.vob)|*.vob\"";
    return joined(switchedControls(false),
                  {"send: stop movie", "setSliderValue(0)", "setCaption(\"Saving\")",
                   "setDialogFilter(" + filter + ")", "setDialogTitle(\"Open\")",
                   "showSaveDialog(" + filter + ", \"Open\", \"" + dialogName + "\")"});
}

Texts commonEndingLog() {
    return joined(joined({"setCaption(\"Trelvane 2.0\")", "setProgressValue(0.000000)"},
                         switchedControls(true)),
                  {"setDialogFileName(\"\")"});
}

namespace {

using Save = SaveTest;

Texts savedLog(float maximum, int passes) {
    Texts log = joined(
        preparedLog(""),
        {"dialogFileName()", "send: set movie time format ms", "send: status movie length",
         "setProgressMaximum(" + std::to_string(maximum) + ")", "setProgressValue(0.000000)"});
    for (int pass = 1; pass <= passes; ++pass) {
        log.push_back("progressValue()");
        log.push_back("setProgressValue(" + std::to_string(20'480.0f * pass) + ")");
    }
    return joined(joined(log, {"setCaption(\"Trelvane 2.0\")",
                               "showMessage(\"Clip Saved\", \"Trelvane 2.0\")",
                               "setProgressValue(0.000000)"}),
                  switchedControls(true));
}

TEST_F(Save, InvalidSelectionsChangeNothing) {
    // Both marks 0 is how the window stands after an open.
    for (const auto& [begin, end] : {std::pair{0, 0}, {30, 10}, {20, 20}}) {
        SCOPED_TRACE(std::to_string(begin) + " to " + std::to_string(end));
        mark(begin, end);
        const std::size_t from = m_toolkit.log().size();
        m_form->command7Click();
        EXPECT_EQ(logFrom(from), (Texts{"showMessage(\"Invalid Selection\", \"Trelvane 2.0\")"}));
        EXPECT_EQ(m_toolkit.messages().back().buttons, MessageButtons::Ok);
        EXPECT_EQ(m_form->state().clipBegin, begin);
        EXPECT_FALSE(movie().paused);
    }
}

TEST_F(Save, CopiesTheMarkedStretchThenRestoresTheWindowKeepingTheName) {
    struct Case {
        std::int32_t begin;
        std::int32_t end;
        std::int64_t firstPosition;
        int passes;
        float maximum;
    };
    // A begin mark of 0 saves from the first second on; its label keeps the 0.
    const std::vector<Case> cases{{10, 50, 10'000, 2, 60'481}, {0, 50, 1'000, 3, 69'481}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.begin);
        mark(c.begin, c.end);
        const std::string target = inDir("clip" + std::to_string(c.begin) + ".vob");
        m_toolkit.setDialogFileName("");
        const std::size_t from = m_toolkit.log().size();
        saveTo(target);

        EXPECT_EQ(logFrom(from), savedLog(c.maximum, c.passes));
        EXPECT_EQ(clip::testing::readBytes(target), clipFrom(c.firstPosition, c.passes));
        EXPECT_EQ(m_form->state().clipBegin, std::max(c.begin, 1));
        EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label7), std::to_string(c.begin));
        EXPECT_EQ(m_toolkit.dialogFileNameNow(), target);
        EXPECT_TRUE(movie().paused);
        EXPECT_TRUE(m_toolkit.timerEnabled());
        EXPECT_EQ(m_toolkit.sliderShows(), 0);
        expectWindowRestored();
        expectSourceIntact();
    }
}

TEST_F(Save, TheNextSaveOffersThePreviousTargetAndAsksBeforeReplacingIt) {
    mark(10, 50);
    const std::string target = inDir("clip.vob");
    saveTo(target);
    const Bytes old(70'000, std::byte{0xab});
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        const bool replace = answer == MessageAnswer::Yes;
        SCOPED_TRACE(replace ? "Yes" : "No");
        clip::testing::writeBytes(target, old);
        m_toolkit.setDialogFileName(target);
        m_toolkit.scriptMessageAnswer(answer);
        const std::size_t from = m_toolkit.messages().size();
        const std::size_t logFromHere = m_toolkit.log().size();
        saveTo(target);

        const Texts prepared = preparedLog(target);
        const Texts log = logFrom(logFromHere);
        EXPECT_EQ(Texts(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(prepared.size())),
                  prepared);
        const Texts asked = replace ? Texts{"File already exist.Overwrite?", "Clip Saved"}
                                    : Texts{"File already exist.Overwrite?"};
        EXPECT_EQ(messagesFrom(from), asked);
        EXPECT_EQ(m_toolkit.messages()[from].buttons, MessageButtons::YesNo);
        EXPECT_EQ(clip::testing::readBytes(target), replace ? clipFrom(10'000, 2) : old);
        EXPECT_EQ(m_toolkit.dialogFileNameNow(), replace ? target : "");
        expectWindowRestored();
    }
}

}  // namespace
}  // namespace trelvane::ui::testing
