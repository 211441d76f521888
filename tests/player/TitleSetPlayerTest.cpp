#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "PlayerSession.h"
#include "mci/mpv/MpvPlayer.h"

// A title set as an authoring tool writes it (two parts, the first 1 GiB),
// the parts joined, and four titles joined past 4 GiB: what people open when
// they cut a whole movie from a disc.
namespace trelvane::testing {
namespace {

using namespace std::chrono_literals;

constexpr const char* kFirstPart = "VIDEO_TS/VTS_01_1.VOB";
constexpr const char* kLaterPart = "VIDEO_TS/VTS_01_2.VOB";
constexpr const char* kTitle = "title.vob";
constexpr const char* kCopies = "copies.vob";
constexpr double kFramesPerSecond = 25;

std::string setPath(const std::string& name) {
    return std::string(TRELVANE_TITLE_SET_DIR) + "/" + name;
}

double probedSeconds(const std::string& name) {
    std::ifstream in(setPath(name) + ".duration");
    double seconds = -1;
    in >> seconds;
    return seconds;
}

double probedStart(const std::string& name) {
    return std::stod(commandOutput(
        "ffprobe -v fatal -show_entries format=start_time -of csv=p=0 '" + setPath(name) + "'"));
}

std::uint64_t fileSize(const std::string& name) {
    struct stat status {};
    return ::stat(setPath(name).c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_size)
                                                       : 0;
}

// The clip the title repeats: 24 s of the pattern, laid end to end on the
// title's clock a little more than 24 s apart.
constexpr double kClipSeconds = 24;
const char* const kPattern = "testsrc=size=720x576:rate=25:decimals=2:duration=24";
// Where the pattern shows that time.
const char* const kCounter = "crop=320:136:340:214";

double clipPeriod() {
    const double title = probedSeconds(kTitle);
    return title / std::round(title / kClipSeconds);
}

// How long after the title's first stamp its first picture shows.
double pictureLead() {
    const auto start = [](const std::string& entry) {
        return std::stod(commandOutput("ffprobe -v fatal -select_streams v:0 -show_entries " +
                                       entry + " -of default=nw=1:nk=1 '" + setPath(kTitle) + "'"));
    };
    return start("stream=start_time") - start("format=start_time");
}

// Two seconds of the pattern from `from` seconds into the clip, running on
// into the clip's start again where it ends.
std::string patternWindow(double from) {
    const std::string begin = std::to_string(from);
    if (from + 2 <= kClipSeconds) {
        return std::string(kPattern) + ",trim=start=" + begin + ":duration=2,setpts=PTS-STARTPTS";
    }
    const std::string rest = std::to_string(from + 2 - kClipSeconds);
    return std::string(kPattern) + ",trim=start=" + begin + ",setpts=PTS-STARTPTS[x];" + kPattern +
           ",trim=end=" + rest + ",setpts=PTS-STARTPTS[y];[x][y]concat";
}

// Where, in seconds on the title's own clock from its start, `ms` of `name`
// lies: a later part starts where the parts before it end on that clock, and
// each copy of the title in the join starts the title again.
double titleMoment(const std::string& name, std::int64_t ms) {
    const double seconds = static_cast<double>(ms) / 1000.0;
    if (name == kCopies) {
        return std::fmod(seconds, probedSeconds(kTitle));
    }
    return probedStart(name) - probedStart(kTitle) + seconds;
}

class TitleSetPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(m_dir); }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // The moment of the title whose picture matches the shown one best,
    // searched within a second of `near`. The title repeats one clip of the
    // test pattern, whose every frame shows its own time in the clip to the
    // hundredth of a second; the counter is compared with the pattern itself,
    // made afresh, so that no decoder's seek is trusted.
    double shownMoment(mci::MpvPlayer& player, double near) {
        const std::string shot = m_dir + "/shown.png";
        const std::string stats = m_dir + "/psnr.log";
        std::filesystem::remove(shot);
        EXPECT_TRUE(player.savePicture(shot));
        EXPECT_TRUE(waitUntil([&] { return std::filesystem::exists(shot); }, 5s));
        const double period = clipPeriod();
        const double from = std::fmod(near - pictureLead() - 1 + period, period);
        commandOutput("ffmpeg -v error -y -f lavfi -i '" + patternWindow(from) + "' -loop 1 -i '" +
                      shot + "' -lavfi '[0:v]format=yuv420p," + kCounter +
                      "[a];[1:v]scale=720:576,format=yuv420p," + kCounter +
                      "[b];[a][b]psnr=shortest=1:stats_file=" + stats + "' -f null - 2>&1");
        std::ifstream in(stats);
        std::string line;
        double bestError = 1e9;
        int bestFrame = 1;
        while (std::getline(in, line)) {
            int frame = 0;
            double error = 0;
            if (std::sscanf(line.c_str(), "n:%d mse_avg:%lf", &frame, &error) == 2 &&
                error < bestError) {
                bestError = error;
                bestFrame = frame;
            }
        }
        // The same counter, decoded, differs by about 40; another by 300 or more.
        EXPECT_LT(bestError, 150) << "no picture within a second of " << near
                                  << " s shows what the player shows";
        return near - 1 + (bestFrame - 1) / kFramesPerSecond;
    }

    std::string m_dir =
        std::filesystem::temp_directory_path() / ("title-set-" + std::to_string(::getpid()));
};

TEST_F(TitleSetPlayerTest, PartsAndJoinsLastAsLongAsFfprobeMeasures) {
    // The media are what they claim: a later part whose clock runs on from
    // the first, and a join that passes 4 GiB.
    ASSERT_NEAR(probedStart(kLaterPart) - probedStart(kFirstPart), probedSeconds(kFirstPart), 0.3);
    ASSERT_GT(fileSize(kCopies), std::uint64_t{1} << 32);
    for (const char* name : {kFirstPart, kLaterPart, kTitle, kCopies}) {
        SCOPED_TRACE(name);
        PlayerSession session;
        ASSERT_EQ(session.send("open \"" + setPath(name) + "\" type mpegvideo alias movie").status,
                  0u);
        ASSERT_EQ(session.send("set movie time format ms").status, 0u);
        EXPECT_NEAR(static_cast<double>(session.number("status movie length")),
                    probedSeconds(name) * 1000, 300);
    }
}

TEST_F(TitleSetPlayerTest, SeeksShowThePictureOfTheMomentAsked) {
    struct Case {
        const char* name;
        double share;
    };
    // 0.97 of the join lies past its 4 GiB point, 0.9 before it.
    for (const Case& c : {Case{kFirstPart, 0.9}, Case{kLaterPart, 0.9}, Case{kTitle, 0.9},
                          Case{kCopies, 0.9}, Case{kCopies, 0.97}}) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.share));
        mci::MpvPlayer player(mci::PlayerOutputs{"null", "null"});
        ASSERT_EQ(player.open({setPath(c.name), std::nullopt}), mci::status::Ok);
        const auto target =
            static_cast<std::int64_t>(c.share * static_cast<double>(player.lengthMs()));
        ASSERT_EQ(player.seek(target), mci::status::Ok);
        const double expected = titleMoment(c.name, target);
        EXPECT_NEAR(shownMoment(player, expected), expected, 0.3);
    }
}

TEST_F(TitleSetPlayerTest, PlaybackPastFourGiBRunsOnFromWhereTheSeekLanded) {
    mci::MpvPlayer player(mci::PlayerOutputs{"null", "null"});
    ASSERT_EQ(player.open({setPath(kCopies), std::nullopt}), mci::status::Ok);
    const std::int64_t target = player.lengthMs() * 97 / 100;
    ASSERT_EQ(player.seek(target), mci::status::Ok);
    ASSERT_EQ(player.setPaused(false), mci::status::Ok);
    // Each copy repeats the stamps of the others; only where the player
    // reads the file, past 4 GiB, tells the last copy apart.
    std::vector<std::int64_t> seen{player.positionMs()};
    ASSERT_TRUE(waitUntil(
        [&] {
            seen.push_back(player.positionMs());
            return seen.back() >= target + 1500;
        },
        20s))
        << "stuck at " << seen.back() << " ms";
    for (std::size_t i = 1; i < seen.size(); ++i) {
        ASSERT_GE(seen[i], seen[i - 1]);
        ASSERT_LE(seen[i], target + 5000) << "leapt to " << seen[i] << " ms";
    }
    ASSERT_EQ(player.setPaused(true), mci::status::Ok);
    const double expected = titleMoment(kCopies, player.positionMs());
    EXPECT_NEAR(shownMoment(player, expected), expected, 0.3);
}

}  // namespace
}  // namespace trelvane::testing
