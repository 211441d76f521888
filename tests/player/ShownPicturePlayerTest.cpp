#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "PlayerSession.h"
#include "clip/ClipCopy.h"
#include "clip/ClipTarget.h"
#include "clip/PosixClipFiles.h"
#include "mci/mpv/MpvPlayer.h"

// Positions and seeks judged by the picture the player shows. Every picture
// of these files carries its own number on the joined movie (see
// tests/media/make-numbered-vob.sh), so the moment shown is read off the
// screen, not taken from any player's clock.
namespace trelvane::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr double kMsPerFrame = 1001.0 / 30.0;
constexpr std::int64_t kNear = 300;  // the most a position or a seek may be off
// How far the position may run ahead of the clock on the wall between two
// readings. At a join whose sound track changes the player drops pictures
// to catch up, and the picture moves on that much faster for a moment: up
// to 0.8 s in 0.5 s has been seen with both cores busy. A stretch skipped,
// or the gap between two stretches' clocks taken for movie time, moves it
// by seconds (a stretch of these files lasts 5 s).
constexpr std::int64_t kCatchUpMs = 1000;

// The length a save asks for; no progress bar, no other events.
struct LengthOnlyHost : clip::CopyHost {
    explicit LengthOnlyHost(std::int32_t seconds) : seconds(seconds) {}
    std::int32_t movieLengthInSec() override { return seconds; }
    void setProgressMaximum(float) override {}
    float progressValue() override { return value; }
    void setProgressValue(float v) override { value = v; }
    void yield() override {}
    std::int32_t seconds;
    float value = 0;
};

class ShownPicturePlayerTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(m_dir); }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    void open(const std::string& name) {
        std::ifstream frames(mediaPath(name) + ".frames");
        ASSERT_TRUE(frames >> m_framesPerPart) << "no " << name << " made";
        m_player = std::make_unique<mci::MpvPlayer>(mci::PlayerOutputs{"null", "null"});
        ASSERT_EQ(m_player->open({mediaPath(name), std::nullopt}), mci::status::Ok);
    }

    // The number of the picture shown now, read off its sixteen bars.
    int shownNumber() {
        const std::string shot = m_dir + "/shown.png";
        std::filesystem::remove(shot);
        EXPECT_TRUE(m_player->savePicture(shot));
        EXPECT_TRUE(waitUntil([&] { return std::filesystem::exists(shot); }, 5s));
        const std::vector<int> numbers = numbersOfPictures(shot);
        EXPECT_EQ(numbers.size(), 1u) << "no picture to read";
        return numbers.size() == 1 ? numbers.front() : -1;
    }

    // The numbers of the pictures of an image or movie file, in the order
    // they are shown.
    static std::vector<int> numbersOfPictures(const std::string& path) {
        std::istringstream bars(commandOutput(
            "ffmpeg -v error -i '" + path +
            "' -fps_mode passthrough -vf scale=16:1:flags=area,format=gray -f rawvideo - | "
            "od -An -tu1 -v"));
        std::vector<int> numbers;
        int number = 0;
        int bits = 0;
        for (int level = 0; bars >> level;) {
            number |= (level > 128 ? 1 : 0) << bits;
            if (++bits == 16) {
                numbers.push_back(number);
                number = 0;
                bits = 0;
            }
        }
        return numbers;
    }

    static std::int64_t pictureMs(int number) {
        return static_cast<std::int64_t>(number * kMsPerFrame + 0.5);
    }
    int partOfPicture(int number) const { return number / m_framesPerPart; }
    int partOfMs(std::int64_t ms) const {
        return static_cast<int>(static_cast<double>(ms) / (m_framesPerPart * kMsPerFrame));
    }
    std::int64_t partStartMs(int part) const {
        return static_cast<std::int64_t>(part * m_framesPerPart * kMsPerFrame + 0.5);
    }

    // Plays from `fromMs` until the position reaches `untilMs`, reading the
    // position on either side of every picture read: the picture's moment
    // must lie within kNear of them, no position may step back, and none may
    // move on faster than the clock on the wall by more than a catch-up.
    void playComparing(std::int64_t fromMs, std::int64_t untilMs) {
        ASSERT_EQ(m_player->seek(fromMs), mci::status::Ok);
        ASSERT_EQ(m_player->setPaused(false), mci::status::Ok);
        std::int64_t last = m_player->positionMs();
        auto lastAt = Clock::now();
        const auto deadline = lastAt + std::chrono::milliseconds(untilMs - fromMs) + 20s;
        int compared = 0;
        while (last < untilMs && Clock::now() < deadline) {
            const std::int64_t before = m_player->positionMs();
            const int number = shownNumber();
            const std::int64_t after = m_player->positionMs();
            const auto now = Clock::now();
            ASSERT_GE(number, 0);
            const std::int64_t shown = pictureMs(number);
            SCOPED_TRACE("picture " + std::to_string(number) + " (" + std::to_string(shown) +
                         " ms) between positions " + std::to_string(before) + " and " +
                         std::to_string(after));
            ASSERT_GE(before, last) << "stepped back";
            ASSERT_GE(after, before) << "stepped back";
            const auto wallMs =
                std::chrono::duration_cast<std::chrono::milliseconds>(now - lastAt).count();
            ASSERT_LE(after - last, wallMs + kCatchUpMs) << "leapt ahead of the wall clock";
            ASSERT_GE(shown, before - kNear) << "the position ran ahead of the picture";
            ASSERT_LE(shown, after + kNear) << "the position lagged behind the picture";
            last = after;
            lastAt = now;
            ++compared;
        }
        EXPECT_GE(last, untilMs) << "playback never got there";
        EXPECT_GE(compared, 5);
    }

    // Each seek shows a picture near its target, of the stretch it asked for,
    // and reads back as the target.
    void seekEach(const std::vector<std::int64_t>& targets) {
        for (const std::int64_t target : targets) {
            SCOPED_TRACE("seek to " + std::to_string(target));
            ASSERT_EQ(m_player->seek(target), mci::status::Ok);
            const int number = shownNumber();
            EXPECT_NEAR(static_cast<double>(pictureMs(number)), static_cast<double>(target), kNear)
                << "showed picture " << number;
            EXPECT_EQ(partOfPicture(number), partOfMs(target)) << "showed picture " << number;
            EXPECT_EQ(m_player->positionMs(), target);
        }
    }

    // Plays on until the position reaches `ms`, pauses, and takes a mark as
    // Select Start and Select End do: the whole second of the position. It
    // must be the second of the picture shown.
    std::int32_t markAt(std::int64_t ms) {
        EXPECT_EQ(m_player->setPaused(false), mci::status::Ok);
        EXPECT_TRUE(waitUntil([&] { return m_player->positionMs() >= ms; }, 20s));
        EXPECT_EQ(m_player->setPaused(true), mci::status::Ok);
        const int number = shownNumber();
        const auto mark = static_cast<std::int32_t>(m_player->positionMs() / 1000);
        EXPECT_EQ(pictureMs(number) / 1000, mark) << "marked with picture " << number << " shown";
        return mark;
    }

    // Near the end and the start of the stretches, where a seek is likeliest
    // to slip into a neighbour; the last pictures of a stretch lie up to a
    // picture group's length after the last group that starts in it.
    std::vector<std::int64_t> edgesOfParts(int first, int last) const {
        std::vector<std::int64_t> targets;
        for (int part = first; part <= last; ++part) {
            targets.push_back(partStartMs(part + 1) - 250);
            targets.push_back(partStartMs(part + 1) - 80);
            targets.push_back(partStartMs(part) + 150);
        }
        return targets;
    }

    int m_framesPerPart = 0;
    std::string m_dir =
        std::filesystem::temp_directory_path() / ("shown-" + std::to_string(::getpid()));
    std::unique_ptr<mci::MpvPlayer> m_player;
};

TEST_F(ShownPicturePlayerTest, ShortStretchesReadFromTheirFirstPictureRunOnAndSeek) {
    for (const char* name : {"short1.vob", "short2.vob"}) {
        SCOPED_TRACE(name);
        open(name);
        EXPECT_EQ(shownNumber(), 0);
        EXPECT_NEAR(static_cast<double>(m_player->positionMs()), 0, 100);
        EXPECT_NEAR(static_cast<double>(m_player->lengthMs()),
                    (name[5] == '1' ? 20 : 10) * m_framesPerPart * kMsPerFrame, kNear);
        playComparing(0, 5500);
        seekEach(edgesOfParts(1, 4));
    }
}

TEST_F(ShownPicturePlayerTest, MarksOnShortStretchesSaveTheBytesOfTheMarkedSeconds) {
    // A mark is the whole second of the position, and the clip the bytes
    // from the byte rate times one mark to the byte rate times the other: a
    // position a stretch ahead marks the second after the one shown, whose
    // bytes follow. Each mark is taken a little into its second, where a
    // position within 300 ms of the picture cannot fall in the next one.
    for (const char* name : {"short1.vob", "short2.vob"}) {
        SCOPED_TRACE(name);
        open(name);
        const std::int32_t begin = markAt(2400);
        const std::int32_t end = markAt(6400);
        ASSERT_LT(begin, end);
        clip::PosixClipFiles files;
        LengthOnlyHost host(static_cast<std::int32_t>(m_player->lengthMs() / 1000));
        const std::string saved = m_dir + "/clip.vob";
        std::filesystem::remove(saved);
        {
            clip::ClipTarget into(files, saved);
            clip::ClipCopy(files, host).run(mediaPath(name), into, begin, end);
            into.commit();
        }
        // The clip's pictures run from the first whole picture group of the
        // begin second to the last pictures of the end second.
        const std::vector<int> numbers = numbersOfPictures(saved);
        ASSERT_FALSE(numbers.empty());
        EXPECT_EQ(pictureMs(numbers.front()) / 1000, begin) << "first picture " << numbers.front();
        EXPECT_EQ(pictureMs(numbers.back()) / 1000, end) << "last picture " << numbers.back();
    }
}

TEST_F(ShownPicturePlayerTest, JoinsOfEveryShapeKeepPositionsAndSeeks) {
    // 16:9 with mono sound, AC-3 5.1, 16:9 again, two sound tracks, plain.
    open("shapes.vob");
    EXPECT_NEAR(static_cast<double>(m_player->lengthMs()), 5 * m_framesPerPart * kMsPerFrame,
                kNear);
    seekEach(edgesOfParts(0, 4));
    playComparing(partStartMs(1) - 1500, partStartMs(4) + 1000);
}

TEST_F(ShownPicturePlayerTest, TheClockRunsOnAcrossItsWrap) {
    // The demuxer counts the stamps before an early wrap back from it, and
    // those after a late wrap on past it: both must read as one clock. In
    // the last file the clock wraps 10 s into each of two parts, restarting
    // between them from before the wrap.
    struct Case {
        const char* name;
        int parts;
        std::int64_t wrapMs;  // into each part
    };
    for (const Case& c : {Case{"wrap-early.vob", 1, 20000}, Case{"wrap-late.vob", 1, 70000},
                          Case{"wrap-restart.vob", 2, 10000}}) {
        SCOPED_TRACE(c.name);
        open(c.name);
        EXPECT_NEAR(static_cast<double>(m_player->lengthMs()),
                    c.parts * m_framesPerPart * kMsPerFrame, kNear);
        std::vector<std::int64_t> targets{1000};
        for (int part = c.parts - 1; part >= 0; --part) {
            targets.push_back(partStartMs(part) + c.wrapMs + 2500);
            targets.push_back(partStartMs(part) + c.wrapMs - 3000);
        }
        seekEach(targets);
        // Played across the last wrap: after the restart, where there is one.
        const std::int64_t lastWrapMs = partStartMs(c.parts - 1) + c.wrapMs;
        playComparing(lastWrapMs - 2000, lastWrapMs + 3000);
    }
}

}  // namespace
}  // namespace trelvane::testing
