#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "PlayerSession.h"
#include "mci/mpv/MpvPlayer.h"

namespace trelvane::testing {
namespace {

using namespace std::chrono_literals;

// ffprobe's lengths of the parts a joined file was made of, in seconds.
std::vector<double> partLengths(const std::string& name) {
    std::vector<double> lengths;
    for (int part = 1;; ++part) {
        std::ifstream in(mediaPath(name) + ".part" + std::to_string(part) + ".duration");
        double seconds = 0;
        if (!(in >> seconds)) {
            return lengths;
        }
        lengths.push_back(seconds);
    }
}

double meanGrey(const std::string& png) {
    const std::string out = commandOutput(
        "convert '" + png + "' -colorspace Gray -format '%[fx:mean*255]' info: 2>/dev/null");
    return out.empty() ? -1 : std::stod(out);
}

// The encoder's own frame at `seconds` into a part, decoded by ffmpeg.
double encoderGrey(const std::string& part, double seconds, const std::string& png) {
    commandOutput("ffmpeg -v error -y -ss " + std::to_string(seconds) + " -i '" + part +
                  "' -frames:v 1 '" + png + "'");
    return meanGrey(png);
}

class TimelinePlayerTest : public ::testing::Test {
protected:
    void open(const std::string& name) {
        m_name = name;
        m_player = std::make_unique<mci::MpvPlayer>(mci::PlayerOutputs{"null", "null"});
        ASSERT_EQ(m_player->open({mediaPath(name), std::nullopt}), mci::status::Ok);
    }

    // How far (in seconds) the picture shown now lies from `targetMs` on the
    // joined movie, judged against the encoder's frames of the part there.
    double pictureDistance(std::int64_t targetMs) {
        const std::vector<double> lengths = partLengths(m_name);
        double into = static_cast<double>(targetMs) / 1000.0;
        std::size_t part = 0;
        while (part + 1 < lengths.size() && into >= lengths[part]) {
            into -= lengths[part++];
        }
        const std::string partPath = mediaPath(m_name) + ".part" + std::to_string(part + 1);
        const std::string shot = m_dir + "/shown.png";
        EXPECT_TRUE(m_player->savePicture(shot));
        EXPECT_TRUE(waitUntil([&] { return std::filesystem::exists(shot); }, 5s));
        const double shown = meanGrey(shot);
        const double expected = encoderGrey(partPath, into, m_dir + "/expected.png");
        const double step = into + 1 < lengths[part] ? 1 : -1;  // the brightness gained per second
        const double slope =
            std::fabs(encoderGrey(partPath, into + step, m_dir + "/next.png") - expected);
        EXPECT_GT(slope, 2) << "the test pictures should brighten steadily";
        return std::fabs(shown - expected) / slope;
    }

    std::string m_name;
    std::string m_dir =
        std::filesystem::temp_directory_path() / ("timeline-" + std::to_string(::getpid()));
    std::unique_ptr<mci::MpvPlayer> m_player;

    void SetUp() override { std::filesystem::create_directories(m_dir); }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
};

TEST_F(TimelinePlayerTest, JoinedFilesLastAsLongAsTheirParts) {
    for (const char* name : {"joined-ntsc.vob", "joined-pal.vob", "late-pal.vob"}) {
        SCOPED_TRACE(name);
        open(name);
        double sum = 0;
        for (double length : partLengths(name)) {
            sum += length;
        }
        EXPECT_NEAR(static_cast<double>(m_player->lengthMs()), sum * 1000, 300);
    }
}

TEST_F(TimelinePlayerTest, SeeksLandInTheRightPartWithTheRightPicture) {
    struct Case {
        const char* name;
        std::int64_t targetMs;
    };
    for (const Case& c : {Case{"joined-ntsc.vob", 6000}, Case{"joined-ntsc.vob", 10500},
                          Case{"joined-ntsc.vob", 1500}, Case{"joined-pal.vob", 5500},
                          Case{"late-pal.vob", 3500}}) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.targetMs));
        open(c.name);
        ASSERT_EQ(m_player->seek(c.targetMs), mci::status::Ok);
        EXPECT_LE(pictureDistance(c.targetMs), 0.5);
    }
}

TEST_F(TimelinePlayerTest, PositionsRunOnAcrossRestartsAndLeaps) {
    open("joined-ntsc.vob");
    ASSERT_EQ(m_player->seek(2500), mci::status::Ok);
    ASSERT_EQ(m_player->setPaused(false), mci::status::Ok);
    struct Reading {
        std::chrono::steady_clock::time_point at;
        std::int64_t positionMs;
    };
    std::vector<Reading> seen{{std::chrono::steady_clock::now(), m_player->positionMs()}};
    ASSERT_TRUE(waitUntil(
        [&] {
            seen.push_back({std::chrono::steady_clock::now(), m_player->positionMs()});
            return seen.back().positionMs >= 9500;
        },
        20s));
    for (std::size_t i = 1; i < seen.size(); ++i) {
        const auto elapsedMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(seen[i].at - seen[i - 1].at)
                .count();
        const std::int64_t step = seen[i].positionMs - seen[i - 1].positionMs;
        ASSERT_GE(step, 0) << "stepped back from " << seen[i - 1].positionMs << " to "
                           << seen[i].positionMs;
        // Playback moves on no faster than the clock on the wall: the leap
        // of the third part's clock must not show.
        ASSERT_LE(step, elapsedMs + 500) << "leapt from " << seen[i - 1].positionMs << " to "
                                         << seen[i].positionMs << " in " << elapsedMs << " ms";
    }
}

TEST_F(TimelinePlayerTest, AnEndInALaterPartStopsPlaybackThere) {
    open("joined-ntsc.vob");
    ASSERT_EQ(m_player->seek(3000), mci::status::Ok);
    ASSERT_EQ(m_player->setEndMs(9000), mci::status::Ok);
    ASSERT_EQ(m_player->setPaused(false), mci::status::Ok);
    // Stamps of the first part come round again in the second and third: an
    // end set by stamp alone would stop the movie at about 3 s into the first.
    ASSERT_TRUE(waitUntil([&] { return m_player->reachedEnd(); }, 20s));
    const std::int64_t stoppedAt = m_player->positionMs();
    EXPECT_GE(stoppedAt, 9000);
    EXPECT_LE(stoppedAt, 9300);
}

TEST_F(TimelinePlayerTest, ClockLeapsAreNoTimeOfTheMovie) {
    // Two halves of 30 s whose clock leaps 3 s or 6 s ahead between them:
    // the movie lasts a minute, and a seek past the leap shows its picture
    // (to within a picture group, as the other seeks).
    for (const char* name : {"leap3-ntsc.vob", "leap6-ntsc.vob"}) {
        SCOPED_TRACE(name);
        open(name);
        const std::vector<double> lengths = partLengths(name);
        ASSERT_EQ(lengths.size(), 2u);
        EXPECT_NEAR(static_cast<double>(m_player->lengthMs()), (lengths[0] + lengths[1]) * 1000,
                    300);
        for (const std::int64_t targetMs : {34000, 52500}) {
            ASSERT_EQ(m_player->seek(targetMs), mci::status::Ok);
            EXPECT_LE(pictureDistance(targetMs), 0.5) << targetMs;
        }
    }
}

TEST_F(TimelinePlayerTest, PackClocksOfNoiseLeaveTheLengthRight) {
    // Every pack's clock overwritten with noise, the stamps running on.
    for (const char* name : {"noisy-ntsc60.vob", "noisy-pal20.vob"}) {
        SCOPED_TRACE(name);
        open(name);
        std::ifstream in(mediaPath(name) + ".duration");
        double seconds = 0;
        ASSERT_TRUE(in >> seconds);
        EXPECT_NEAR(static_cast<double>(m_player->lengthMs()), seconds * 1000, 300);
    }
}

}  // namespace
}  // namespace trelvane::testing
