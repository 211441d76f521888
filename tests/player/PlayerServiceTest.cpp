#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "PlayerSession.h"

namespace trelvane::testing {
namespace {

using namespace std::chrono_literals;

std::string openCommand(const std::string& path) {
    return "open \"" + path + "\" type mpegvideo alias movie";
}

class PlayerServiceTest : public ::testing::Test {
protected:
    void openNtsc() {
        ASSERT_EQ(m_session.send(openCommand(mediaPath("ntsc60.vob"))).status, 0u);
        ASSERT_EQ(m_session.send("set movie time format ms").status, 0u);
    }
    std::int64_t position() { return m_session.number("status movie position wait"); }

    PlayerSession m_session;
};

TEST_F(PlayerServiceTest, OpenedMoviesReportTheProbedLengthAndWaitStopped) {
    for (const char* name : {"ntsc60.vob", "pal20.vob"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(m_session.send(openCommand(mediaPath(name))).status, 0u);
        EXPECT_EQ(m_session.mode(), "stopped");
        EXPECT_NEAR(m_session.number("status movie length"), probedLengthMs(name), 100);
        EXPECT_LE(position(), 100);
        EXPECT_EQ(m_session.send("close movie").status, 0u);
    }
}

TEST_F(PlayerServiceTest, PlayAdvancesAndPauseHoldsThePosition) {
    openNtsc();
    ASSERT_EQ(m_session.send("play movie").status, 0u);
    EXPECT_EQ(m_session.mode(), "playing");
    ASSERT_TRUE(waitUntil([&] { return position() >= 1500; }, 15s));

    ASSERT_EQ(m_session.send("pause movie").status, 0u);
    EXPECT_EQ(m_session.mode(), "paused");
    const std::int64_t held = position();
    // A paused movie must not creep on: watch it for a while.
    EXPECT_FALSE(waitUntil([&] { return std::llabs(position() - held) > 40; }, 700ms));

    ASSERT_EQ(m_session.send("resume movie").status, 0u);
    EXPECT_EQ(m_session.mode(), "playing");
    EXPECT_TRUE(waitUntil([&] { return position() >= held + 500; }, 15s));
}

TEST_F(PlayerServiceTest, SeekLandsAtTheTargetAndLeavesTheMovieStopped) {
    openNtsc();
    ASSERT_EQ(m_session.send("play movie").status, 0u);
    ASSERT_EQ(m_session.send("seek movie to 30000").status, 0u);
    EXPECT_EQ(m_session.mode(), "stopped");
    EXPECT_NEAR(position(), 30000, 100);
    EXPECT_FALSE(waitUntil([&] { return std::llabs(position() - 30000) > 100; }, 500ms));

    // Playing on from there shows where the picture really landed.
    ASSERT_EQ(m_session.send("play movie").status, 0u);
    EXPECT_NEAR(position(), 30000, 150);
    ASSERT_EQ(m_session.send("seek movie to 4000").status, 0u);
    ASSERT_EQ(m_session.send("play movie").status, 0u);
    EXPECT_NEAR(position(), 4000, 150);

    ASSERT_EQ(m_session.send("seek movie to start").status, 0u);
    EXPECT_LE(position(), 100);
    ASSERT_EQ(m_session.send("seek movie to end").status, 0u);
    EXPECT_NEAR(position(), probedLengthMs("ntsc60.vob"), 100);
    EXPECT_EQ(m_session.mode(), "stopped");
}

TEST_F(PlayerServiceTest, PlayFromPlaysOnFromThereAndStopKeepsThePosition) {
    openNtsc();
    ASSERT_EQ(m_session.send("play movie from 40000").status, 0u);
    EXPECT_EQ(m_session.mode(), "playing");
    ASSERT_TRUE(waitUntil([&] { return position() >= 40800; }, 15s));
    EXPECT_LT(position(), 45000);

    ASSERT_EQ(m_session.send("stop movie").status, 0u);
    EXPECT_EQ(m_session.mode(), "stopped");
    const std::int64_t stoppedAt = position();
    EXPECT_GE(stoppedAt, 40800);
    EXPECT_FALSE(waitUntil([&] { return std::llabs(position() - stoppedAt) > 40; }, 500ms));
}

TEST_F(PlayerServiceTest, PlaybackEndsStoppedAtTheEndOrAtTheRequestedPoint) {
    openNtsc();
    ASSERT_EQ(m_session.send("play movie from 10000 to 11000").status, 0u);
    ASSERT_TRUE(waitUntil([&] { return m_session.mode() == "stopped"; }, 15s));
    EXPECT_NEAR(position(), 11000, 100);

    ASSERT_EQ(m_session.send("play movie from 59000").status, 0u);
    ASSERT_TRUE(waitUntil([&] { return m_session.mode() == "stopped"; }, 15s));
    EXPECT_NEAR(position(), probedLengthMs("ntsc60.vob"), 100);
}

TEST(PlayerAudio, UsualAudioOutputsPlayOrFallBackToSilence) {
    // On a machine without a sound device (CI) this is the fallback; with
    // one, the tone is heard. Either way the open and the play succeed.
    PlayerSession session({"null", ""});
    ASSERT_EQ(session.send("open \"" + mediaPath("pal20.vob") + "\" alias movie").status, 0u);
    ASSERT_EQ(session.send("play movie").status, 0u);
    EXPECT_TRUE(waitUntil([&] { return session.number("status movie position") >= 500; }, 15s));
}

TEST_F(PlayerServiceTest, CloseAllClosesEveryDevice) {
    openNtsc();
    ASSERT_EQ(m_session.send(openCommand(mediaPath("pal20.vob")) + "2").status, 0u);
    EXPECT_EQ(m_session.send("close all").status, 0u);
    EXPECT_EQ(m_session.send("status movie mode").status, 263u);
    EXPECT_EQ(m_session.send("status movie2 mode").status, 263u);
    EXPECT_EQ(m_session.send("close all").status, 0u);
}

TEST_F(PlayerServiceTest, FilesThatCannotBePlayedFailAndLeaveTheServiceUsable) {
    const struct {
        const char* name;
        std::uint32_t status;
    } cases[] = {
        {"missing.vob", 275}, {"text.vob", 296},   {"empty.vob", 296},
        {"random.vob", 296},  {"folder.vob", 296},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.name);
        EXPECT_EQ(m_session.send(openCommand(mediaPath(bad.name))).status, bad.status);
        EXPECT_EQ(m_session.send("status movie mode").status, 263u);
        ASSERT_EQ(m_session.send(openCommand(mediaPath("pal20.vob"))).status, 0u);
        EXPECT_EQ(m_session.mode(), "stopped");
        EXPECT_EQ(m_session.send("close all").status, 0u);
    }
}

TEST_F(PlayerServiceTest, PathsWithBlanksAndLettersBeyondAsciiOpenExactly) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(TRELVANE_TEST_MEDIA_DIR) / "named";
    fs::create_directories(dir);
    const fs::path odd = dir / "a b ü 'x' (1).vob";
    fs::remove(odd);
    fs::create_hard_link(mediaPath("pal20.vob"), odd);

    ASSERT_EQ(m_session.send(openCommand(odd.string())).status, 0u);
    EXPECT_NEAR(m_session.number("status movie length"), probedLengthMs("pal20.vob"), 100);
    EXPECT_EQ(m_session.send("close all").status, 0u);

    // A name with the delimiter in it cannot be told apart from a shorter
    // name followed by words; it is refused rather than guessed.
    const fs::path quoted = dir / "a\" alias other \"b.vob";
    fs::remove(quoted);
    fs::create_hard_link(mediaPath("pal20.vob"), quoted);
    EXPECT_NE(m_session.send(openCommand(quoted.string())).status, 0u);
    EXPECT_EQ(m_session.send("status movie mode").status, 263u);
    EXPECT_EQ(m_session.send("status other mode").status, 263u);
}

}  // namespace
}  // namespace trelvane::testing
