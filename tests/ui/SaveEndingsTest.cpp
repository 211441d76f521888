#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "SaveTest.h"

namespace trelvane::ui::testing {
namespace {

namespace fs = std::filesystem;
using clip::testing::FileCall;

class SaveEnding : public SaveTest {
protected:
    SaveEnding() { mark(10, 50); }

    // The log of the click from `from` on ends with `last`, then the common ending.
    void expectEndingAfter(std::size_t from, const std::string& last) const {
        const Texts expected = joined({last}, commonEndingLog());
        const Texts log = logFrom(from);
        ASSERT_GE(log.size(), expected.size());
        EXPECT_EQ(Texts(log.end() - static_cast<std::ptrdiff_t>(expected.size()), log.end()),
                  expected);
    }
};

TEST_F(SaveEnding, ACancelledDialogEndsSilentlyWithTheMovieStopped) {
    m_toolkit.setDialogFileName("/clips/old.vob");
    const std::size_t from = m_toolkit.log().size();
    saveTo(std::nullopt);

    EXPECT_EQ(logFrom(from), joined(preparedLog("/clips/old.vob"), commonEndingLog()));
    EXPECT_TRUE(m_toolkit.messages().empty());
    EXPECT_TRUE(movie().paused);
    EXPECT_EQ(m_toolkit.sliderShows(), 0);
    expectWindowRestored();
}

TEST_F(SaveEnding, TheOpenedMovieIsRefusedUnderAnyPath) {
    fs::create_directory(inDir("sub"));
    fs::create_symlink(m_source, inDir("symbolic.vob"));
    fs::create_hard_link(m_source, inDir("hard.vob"));
    const std::vector<std::string> paths{
        m_source,
        inDir("symbolic.vob"),
        inDir("hard.vob"),
        inDir("sub/../movie.vob"),
        m_dir.path() + "//movie.vob",
        fs::relative(m_source, fs::current_path()).string(),
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        const std::size_t from = m_toolkit.log().size();
        const std::size_t shown = m_toolkit.messages().size();
        saveTo(path);
        EXPECT_EQ(messagesFrom(shown), Texts{"Cannot overwrite file in use..."});
        expectEndingAfter(from,
                          {"showMessage(\"Cannot overwrite file in use...\", \"Trelvane 2.0\")"});
        EXPECT_EQ(m_toolkit.dialogFileNameNow(), "");
        expectWindowRestored();
    }
    EXPECT_EQ(m_files.calls(FileCall::OpenForReading), 0);
    EXPECT_EQ(m_files.calls(FileCall::Empty), 0);
    EXPECT_EQ(m_files.calls(FileCall::Write), 0);
    expectSourceIntact();
}

TEST_F(SaveEnding, AFailedCopyIsReportedAsNotSavedAndKeepsWhatWasWritten) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::string target;
        std::string message;
        std::optional<int> chunksKept;  // nothing: the target was never made
    };
    const std::vector<Case> cases{
        {"disk full", [this] { m_files.failCall(FileCall::Write, 2, ENOSPC); }, "full.vob",
         "Clip not saved: disk full", 1},
        {"no such directory", [] {}, "missing/clip.vob",
         "Clip not saved: no such file or directory", std::nullopt},
        {"movie length 0", [this] { movie().lengthMs = 999; }, "short.vob",
         "Clip not saved: movie length is 0 seconds", 0},
        // Written whole, but the file system tells of the loss only at the end.
        {"sync fails", [this] { m_files.failCall(FileCall::Sync, 1, EIO); }, "unsynced.vob",
         "Clip not saved: input/output error", 2},
        {"close fails", [this] { m_files.failCall(FileCall::Close, 1, EDQUOT); }, "unclosed.vob",
         "Clip not saved: disk quota exceeded", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        movie().lengthMs = 100'000;
        c.arrange();
        const std::string target = inDir(c.target);
        const std::size_t from = m_toolkit.log().size();
        const std::size_t shown = m_toolkit.messages().size();
        saveTo(target);

        // Said while the caption still reads "Saving".
        EXPECT_EQ(messagesFrom(shown), Texts{c.message});
        expectEndingAfter(from, "showMessage(\"" + c.message + "\", \"Trelvane 2.0\")");
        if (c.chunksKept) {
            const std::int64_t chunks = *c.chunksKept;
            const std::int64_t kept = chunks == 0 ? 0 : 20'480 * chunks + 1;
            EXPECT_EQ(clip::testing::readBytes(target),
                      clip::testing::patternFrom(10'000, kept, kSourceBytes));
        } else {
            EXPECT_FALSE(fs::exists(target));
        }
        EXPECT_EQ(m_toolkit.dialogFileNameNow(), "");
        expectWindowRestored();
        expectSourceIntact();
    }
}

TEST_F(SaveEnding, AFileTheUserAgreedToReplaceSurvivesASaveThatFails) {
    const std::string target = inDir("old.vob");
    const clip::testing::Bytes old(70'000, std::byte{0xab});
    const auto filesInDir = [this] {
        return std::distance(fs::directory_iterator(m_dir.path()), fs::directory_iterator());
    };
    clip::PosixClipFiles namedOnly(false);
    enum class Way { DiskFull, Closed, ClosedWithoutNamelessFiles };
    for (const Way way : {Way::DiskFull, Way::Closed, Way::ClosedWithoutNamelessFiles}) {
        SCOPED_TRACE(static_cast<int>(way));
        clip::testing::writeBytes(target, old);
        const auto filesBefore = filesInDir();
        m_toolkit.scriptMessageAnswer(MessageAnswer::Yes);
        const std::size_t shown = m_toolkit.messages().size();
        if (way == Way::DiskFull) {
            m_files.failCall(FileCall::Write, 2, ENOSPC);
            saveTo(target);
            EXPECT_EQ(messagesFrom(shown),
                      (Texts{"File already exist.Overwrite?", "Clip not saved: disk full"}));
            EXPECT_EQ(m_files.openHandles(), 0u);
        } else {
            // The window is closed after the first chunk: the program ends
            // there and then, as it really does, with no unwinding.
            const Run run = runToEnd([&] {
                if (way == Way::ClosedWithoutNamelessFiles) {
                    m_form->useClipFiles(namedOnly);
                }
                m_toolkit.duringNextPass([this] { m_form->formUnload(); });
                saveTo(target);
            });
            EXPECT_TRUE(run.ended);
            EXPECT_EQ(run.log.back(), "endProgram()");
        }
        EXPECT_EQ(clip::testing::readBytes(target), old);
        EXPECT_EQ(filesInDir(), filesBefore);  // nothing half written left beside it
        expectSourceIntact();
    }
}

TEST_F(SaveEnding, ClosingTheWindowDuringTheCopyLeavesTheTargetAsFarAsItWasWritten) {
    mark(0, 50);
    m_toolkit.duringNextPass([this] { m_form->formUnload(); });
    const std::string target = inDir("clip.vob");
    const std::size_t from = m_toolkit.log().size();
    const Run run = runToEnd([&] { saveTo(target); });

    ASSERT_TRUE(run.ended);
    EXPECT_EQ(clip::testing::readBytes(target), clipFrom(1'000, 1));
    // One chunk, its progress, then the end: no message, nothing restored.
    const Texts log(run.log.begin() + static_cast<std::ptrdiff_t>(from), run.log.end());
    EXPECT_EQ(Texts(log.end() - 4, log.end()),
              (Texts{"progressValue()", "setProgressValue(20480.000000)", "send: close all",
                     "endProgram()"}));
    EXPECT_EQ(
        std::count_if(log.begin(), log.end(),
                      [](const std::string& entry) { return entry.rfind("showMessage", 0) == 0; }),
        0);
}

}  // namespace
}  // namespace trelvane::ui::testing
