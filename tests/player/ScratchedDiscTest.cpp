#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "PlayerSession.h"

// A movie whose reads fail over a megabyte in the middle, as from a scratched
// disc (the unreadable-medium shim, preloaded by the test's environment,
// fails them after a drive's retries). It must play, seek, stop and end as
// an unscratched one does.
namespace trelvane::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// pal20.vob holds about 170 kB a second: the scratch covers about 8.8 s to
// 14.6 s of its 20.
constexpr const char* kScratch = "1500000-2500000";
constexpr std::int64_t kScratchEndMs = 14600;
constexpr long kMostFailuresPerScratch = 2;

long failedReads() {
    using Count = long (*)();
    const auto count = reinterpret_cast<Count>(::dlsym(RTLD_DEFAULT, "unreadableMediumFailures"));
    return count != nullptr ? count() : -1;
}

class ScratchedDiscTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Before any player thread reads them.
        ::setenv("TRELVANE_BAD_FILES", "*/scratched.vob", 1);
        ::setenv("TRELVANE_BAD_RANGES", kScratch, 1);
        ::setenv("TRELVANE_BAD_DELAY_MS", "200", 1);
    }

    void SetUp() override {
        ASSERT_GE(failedReads(), 0) << "the unreadable-medium shim is not preloaded";
        fs::create_directories(m_dir);
        // The shim's glob names this file; a copy of its own per test.
        fs::copy_file(mediaPath("pal20.vob"), m_movie, fs::copy_options::overwrite_existing);
        m_failuresBefore = failedReads();
        ASSERT_EQ(m_session.send("open \"" + m_movie + "\" type mpegvideo alias movie").status, 0u);
        ASSERT_EQ(m_session.send("set movie time format ms").status, 0u);
    }
    void TearDown() override {
        m_session.send("close all");
        fs::remove_all(m_dir);
    }

    std::int64_t position() { return m_session.number("status movie position"); }
    long failuresSinceOpen() { return failedReads() - m_failuresBefore; }

    const std::string m_dir =
        (fs::temp_directory_path() / ("scratched-" + std::to_string(::getpid()))).string();
    const std::string m_movie = m_dir + "/scratched.vob";
    long m_failuresBefore = 0;
    PlayerSession m_session;
};

TEST_F(ScratchedDiscTest, PlaysOnPastTheScratchUntilTheRealEnd) {
    ASSERT_EQ(m_session.send("play movie from 6000").status, 0u);
    std::int64_t lastPlaying = -1;
    std::string mode = "playing";
    ASSERT_TRUE(waitUntil(
        [&] {
            const std::int64_t at = position();
            mode = m_session.mode();
            if (mode == "playing") {
                lastPlaying = at;
            }
            return mode != "playing";
        },
        40s));
    const std::int64_t probed = probedLengthMs("pal20.vob");
    EXPECT_EQ(mode, "stopped");
    EXPECT_GT(lastPlaying, kScratchEndMs) << "the movie did not play past the scratch";
    EXPECT_GE(lastPlaying, probed - 1000) << "the movie ended before its end";
    EXPECT_NEAR(position(), probed, 300);
    EXPECT_NEAR(m_session.number("status movie length"), probed, 300);
    std::cout << "failed reads of the open and the playback: " << failuresSinceOpen() << "\n";
    EXPECT_GE(failuresSinceOpen(), 1) << "the scratch was never read";
    EXPECT_LE(failuresSinceOpen(), kMostFailuresPerScratch);
}

TEST_F(ScratchedDiscTest, SeeksStopAndAPlayedStretchAcrossTheScratchWorkAsOnAWholeDisc) {
    ASSERT_EQ(m_session.send("play movie from 6000 to 17000").status, 0u);
    ASSERT_TRUE(waitUntil([&] { return m_session.mode() == "stopped"; }, 30s));
    EXPECT_GE(position(), 17000);
    EXPECT_LE(position(), 17300);

    // Into the scratch: the movie stands there, and plays on from the next
    // picture that can be read.
    ASSERT_EQ(m_session.send("seek movie to 11000").status, 0u);
    EXPECT_EQ(m_session.mode(), "stopped");
    EXPECT_NEAR(position(), 11000, 100);
    ASSERT_EQ(m_session.send("play movie").status, 0u);
    ASSERT_TRUE(waitUntil([&] { return position() > kScratchEndMs + 500; }, 20s));
    ASSERT_EQ(m_session.send("stop movie").status, 0u);
    EXPECT_EQ(m_session.mode(), "stopped");
    const std::int64_t held = position();
    EXPECT_FALSE(waitUntil([&] { return std::llabs(position() - held) > 40; }, 500ms));

    ASSERT_EQ(m_session.send("seek movie to 3000").status, 0u);
    ASSERT_EQ(m_session.send("play movie").status, 0u);
    EXPECT_NEAR(position(), 3000, 150);
    std::cout << "failed reads of the open, the seeks and the playback: " << failuresSinceOpen()
              << "\n";
    EXPECT_GE(failuresSinceOpen(), 1) << "the scratch was never read";
    EXPECT_LE(failuresSinceOpen(), kMostFailuresPerScratch);
}

}  // namespace
}  // namespace trelvane::testing
