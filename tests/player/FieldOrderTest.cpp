#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "PlayerSession.h"
#include "mci/mpv/MpvPlayer.h"

// The interlaced movies of the disc media show their fields one after the
// other, in the order they were taken, whichever field comes first, and so
// does the interlaced stretch of a movie that begins progressive.
namespace trelvane::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string discMedia(const std::string& name) {
    return std::string(TRELVANE_DISC_MEDIA_DIR) + "/" + name;
}

// Where, along the middle row of a picture of the moving bars, the first
// bar's left edge lies, on the 720 pixels the picture was made with (a
// picture saved at its display aspect is wider or taller): the bars move right by 16 pixels a field
// and repeat every 96, so this tells the field shown, to within six.
int barEdge(const std::string& png) {
    const std::string out = commandOutput(
        "convert '" + png + "' -colorspace Gray -gravity center -crop 'x1+0+0' +repage " +
        "-scale '720x1!' -threshold 50% -depth 8 txt:- | awk -F'[,:]' 'NR > 1 { white = $0 ~ "
        "/#FFFFFF/ } " +
        "NR > 2 && white && !before { print $1; exit } NR > 1 { before = white }'");
    return out.empty() ? -1 : std::stoi(out);
}

// How long after the movie's first stamp its first picture's is, in ms: the
// fields start that far after multiples of their length.
double pictureLeadMs(const std::string& movie) {
    const auto start = [&](const std::string& entry) {
        return std::stod(commandOutput("ffprobe -v fatal -select_streams v:0 -show_entries " +
                                       entry + " -of default=nw=1:nk=1 '" + discMedia(movie) +
                                       "'"));
    };
    return 1000 * (start("stream=start_time") - start("format=start_time"));
}

// The pictures shown after seeks to the middles of `count` fields in turn,
// from the one after `fromMs`: how far the bars moved from each to the
// next, in steps of 16 pixels (0 to 5).
std::vector<int> fieldSteps(const std::string& movie, double fieldMs, std::int64_t fromMs,
                            int count) {
    mci::MpvPlayer player(mci::PlayerOutputs{"null", "null"});
    EXPECT_EQ(player.open({discMedia(movie), std::nullopt}), mci::status::Ok);
    const fs::path dir = fs::temp_directory_path() / ("fields-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::vector<int> edges;
    for (int i = 0; i < count; ++i) {
        const double lead = pictureLeadMs(movie);
        const double first = std::ceil((static_cast<double>(fromMs) - lead) / fieldMs);
        const auto target = std::llround(lead + fieldMs * (first + i + 0.5));
        EXPECT_EQ(player.seek(target), mci::status::Ok);
        const std::string shot = (dir / ("field-" + std::to_string(i) + ".png")).string();
        EXPECT_TRUE(player.savePicture(shot));
        EXPECT_TRUE(waitUntil([&] { return fs::exists(shot); }, 5s));
        edges.push_back(barEdge(shot));
    }
    fs::remove_all(dir);
    std::vector<int> steps;
    for (std::size_t i = 1; i < edges.size(); ++i) {
        steps.push_back((((edges[i] - edges[i - 1]) % 96 + 96) % 96) / 16);
    }
    return steps;
}

TEST(FieldOrderTest, InterlacedPicturesShowEachFieldInTurnInTheOrderTaken) {
    struct Case {
        const char* movie;
        double fieldMs;
        std::int64_t fromMs;
    };
    for (const Case& c :
         {Case{"interlaced-pal-tff.vob", 20, 2000},
          Case{"interlaced-ntsc-bff.vob", 1001.0 / 60, 2000}, Case{"mixed-pal.vob", 20, 8000}}) {
        SCOPED_TRACE(c.movie);
        // A field later, the bars are one step on: never back, never two.
        EXPECT_EQ(fieldSteps(c.movie, c.fieldMs, c.fromMs, 6), std::vector<int>(5, 1));
    }
}

}  // namespace
}  // namespace trelvane::testing
