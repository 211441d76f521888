#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "PlayerSession.h"
#include "mci/timeline/IfoTimeline.h"
#include "mci/timeline/PackReader.h"
#include "mci/timeline/SeekPoint.h"
#include "mci/timeline/TimelineBuilder.h"

// The time index from a title set's information file, against the index the
// packs alone give, on the title set dvdauthor wrote (two parts, the first
// 1 GiB), and on information files that do not belong to the parts.
namespace trelvane::testing {
namespace {

namespace fs = std::filesystem;
using namespace mci::timeline;

constexpr double kFrameSeconds = 0.04;

std::string setFile(const std::string& name) {
    return std::string(TRELVANE_TITLE_SET_DIR) + "/VIDEO_TS/" + name;
}

std::optional<Timeline> fromIfo(const std::string& path) {
    PackReader reader;
    EXPECT_TRUE(reader.open(path)) << path;
    return ifoTimeline(path, reader);
}

class IfoTimelineTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_dir); }
    void TearDown() override { fs::remove_all(m_dir); }

    // A folder of its own holding links to the set's parts named, and
    // whatever information files the test puts there.
    std::string folderWith(const std::string& name, const std::vector<std::string>& parts) {
        const std::string folder = m_dir + "/" + name;
        fs::create_directories(folder);
        for (const std::string& part : parts) {
            fs::create_symlink(setFile(part), folder + "/" + part);
        }
        return folder;
    }

    std::string m_dir = fs::temp_directory_path() / ("ifo-timeline-" + std::to_string(::getpid()));
};

TEST_F(IfoTimelineTest, AgreesWithThePackIndexOnEveryPartOfTheSet) {
    for (const char* name : {"VTS_01_1.VOB", "VTS_01_2.VOB"}) {
        SCOPED_TRACE(name);
        PackReader reader;
        ASSERT_TRUE(reader.open(setFile(name)));
        const auto ifo = ifoTimeline(setFile(name), reader);
        const auto packs = TimelineBuilder(reader).build();
        ASSERT_TRUE(ifo.has_value()) << "the set's own information file was not used";
        ASSERT_TRUE(packs.has_value());
        ASSERT_EQ(ifo->segmentCount(), packs->segmentCount());
        EXPECT_NEAR(ifo->lengthMs(), packs->lengthMs(), kFrameSeconds * 1000);
        for (std::size_t i = 0; i < ifo->segmentCount(); ++i) {
            EXPECT_EQ(ifo->segment(i).byteStart, packs->segment(i).byteStart);
            EXPECT_NEAR(ifo->segment(i).firstPts, packs->segment(i).firstPts, kFrameSeconds);
            EXPECT_NEAR(ifo->segment(i).endPts, packs->segment(i).endPts, kFrameSeconds);
        }
        // A later part's clock runs on from the part before; it still plays
        // from 0 for its own length.
        std::ifstream probed(setFile(name) + ".duration");
        double seconds = 0;
        probed >> seconds;
        EXPECT_NEAR(static_cast<double>(ifo->lengthMs()), seconds * 1000, 300);
        // Seeks land on the same picture group by either index.
        for (const double share : {0.0, 0.3, 0.77, 0.999}) {
            const auto ms = static_cast<std::int64_t>(share * static_cast<double>(ifo->lengthMs()));
            const Place byIfo = ifo->locate(ms);
            const Place byPacks = packs->locate(ms);
            EXPECT_NEAR(byIfo.pts, byPacks.pts, kFrameSeconds) << "at " << ms << " ms";
            EXPECT_EQ(seekPoint(reader, *ifo, byIfo).offset,
                      seekPoint(reader, *packs, byPacks).offset)
                << "at " << ms << " ms";
        }
    }
}

TEST_F(IfoTimelineTest, InformationFilesOfOtherPartsOrSetsOrCutShortAreRefused) {
    const std::string ifo = setFile("VTS_01_0.IFO");
    // The parts apart: the second without the first cannot be placed, the
    // first without the second is not the whole set the file lists.
    for (const char* part : {"VTS_01_1.VOB", "VTS_01_2.VOB"}) {
        SCOPED_TRACE(part);
        const std::string alone = folderWith(std::string("alone-") + part, {part});
        fs::copy_file(ifo, alone + "/VTS_01_0.IFO");
        EXPECT_FALSE(fromIfo(alone + "/" + part).has_value());
    }
    // Another title set's list, in the place of this one's.
    const std::string other = m_dir + "/other";
    ASSERT_EQ(std::system(("bash '" + std::string(TRELVANE_MEDIA_SCRIPTS) +
                           "/make-title-set.sh' '" + other + "' 48 >/dev/null")
                              .c_str()),
              0);
    const std::string foreign = folderWith("foreign", {"VTS_01_1.VOB", "VTS_01_2.VOB"});
    fs::copy_file(other + "/VIDEO_TS/VTS_01_0.IFO", foreign + "/VTS_01_0.IFO");
    EXPECT_FALSE(fromIfo(foreign + "/VTS_01_1.VOB").has_value());
    EXPECT_FALSE(fromIfo(foreign + "/VTS_01_2.VOB").has_value());
    // Cut short at every table's start and more: refused, unless the backup
    // copy beside it is whole.
    const auto bytes = fs::file_size(ifo);
    for (const std::uintmax_t keep : {std::uintmax_t{0}, std::uintmax_t{300}, std::uintmax_t{2048},
                                      std::uintmax_t{4096}, bytes - 2048, bytes - 1}) {
        SCOPED_TRACE("cut to " + std::to_string(keep));
        const std::string cut =
            folderWith("cut-" + std::to_string(keep), {"VTS_01_1.VOB", "VTS_01_2.VOB"});
        fs::copy_file(ifo, cut + "/VTS_01_0.IFO");
        fs::resize_file(cut + "/VTS_01_0.IFO", keep);
        EXPECT_FALSE(fromIfo(cut + "/VTS_01_1.VOB").has_value());
        fs::copy_file(setFile("VTS_01_0.BUP"), cut + "/VTS_01_0.BUP");
        EXPECT_TRUE(fromIfo(cut + "/VTS_01_1.VOB").has_value()) << "the backup copy was not read";
    }
    // A chain table that claims more than the file holds, or a disc's own
    // file in the title set's place: refused, and the backup copy read.
    const auto chainTable = [&] {
        std::ifstream file(ifo, std::ios::binary);
        unsigned char pointer[4] = {};
        file.seekg(0xCC);
        file.read(reinterpret_cast<char*>(pointer), 4);
        return (std::uint32_t{pointer[0]} << 24) | (std::uint32_t{pointer[1]} << 16) |
               (std::uint32_t{pointer[2]} << 8) | pointer[3];
    }();
    ASSERT_GT(chainTable, 0u);
    const std::pair<std::streamoff, std::string> damages[] = {
        {std::streamoff{chainTable} * 2048 + 4, std::string("\x92\x00\x00\x00", 4)},
        {0, "DVDVIDEO-VMG"}};
    for (const auto& [at, bytes] : damages) {
        SCOPED_TRACE("damaged at " + std::to_string(at));
        const std::string folder =
            folderWith("damaged-" + std::to_string(at), {"VTS_01_1.VOB", "VTS_01_2.VOB"});
        fs::copy_file(ifo, folder + "/VTS_01_0.IFO");
        {
            std::fstream file(folder + "/VTS_01_0.IFO",
                              std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(at);
            file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            ASSERT_TRUE(file.good());
        }
        EXPECT_FALSE(fromIfo(folder + "/VTS_01_1.VOB").has_value());
        fs::copy_file(setFile("VTS_01_0.BUP"), folder + "/VTS_01_0.BUP");
        EXPECT_TRUE(fromIfo(folder + "/VTS_01_1.VOB").has_value())
            << "the backup copy was not read";
    }
}

TEST_F(IfoTimelineTest, AForeignListMisleadsNeitherLengthNorPlayback) {
    // The service on a part beside another set's list: the packs tell.
    const std::string other = m_dir + "/other";
    ASSERT_EQ(std::system(("bash '" + std::string(TRELVANE_MEDIA_SCRIPTS) +
                           "/make-title-set.sh' '" + other + "' 48 >/dev/null")
                              .c_str()),
              0);
    const std::string foreign = folderWith("foreign", {"VTS_01_1.VOB", "VTS_01_2.VOB"});
    fs::copy_file(other + "/VIDEO_TS/VTS_01_0.IFO", foreign + "/VTS_01_0.IFO");
    std::ifstream probed(setFile("VTS_01_2.VOB.duration"));
    double seconds = 0;
    probed >> seconds;
    PlayerSession session;
    ASSERT_EQ(
        session.send("open \"" + foreign + "/VTS_01_2.VOB\" type mpegvideo alias movie").status,
        0u);
    ASSERT_EQ(session.send("set movie time format ms").status, 0u);
    EXPECT_NEAR(static_cast<double>(session.number("status movie length")), seconds * 1000, 300);
    ASSERT_EQ(session.send("seek movie to 5000").status, 0u);
    EXPECT_EQ(session.number("status movie position"), 5000);
}

}  // namespace
}  // namespace trelvane::testing
