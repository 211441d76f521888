#include <gtest/gtest.h>

#include <array>

#include "SyntheticStream.h"
#include "TempDir.h"
#include "mci/timeline/MpegPacks.h"
#include "mci/timeline/TimelineBuilder.h"

namespace trelvane::mci::timeline {
namespace {

using mci::testing::SyntheticStream;
using mci::testing::TempDir;

TEST(MpegPacksTest, ReadsClocksAndRejectsBrokenMarkers) {
    // A disc's pack header at one second, worked out by hand from the layout.
    std::array<std::uint8_t, 14> header{0,    0,    1,    0xBA, 0x44, 0x00, 0x16,
                                        0xFC, 0x84, 0x01, 0x01, 0x89, 0xC3, 0xF8};
    const auto pack = parsePackHeader(header);
    ASSERT_TRUE(pack);
    EXPECT_DOUBLE_EQ(pack->scrSeconds, 1.0);
    EXPECT_EQ(pack->length, 14u);

    header[6] &= ~0x04;  // a marker bit that must be set
    EXPECT_FALSE(parsePackHeader(header));

    // The older layout: 0010, the clock in 90 kHz ticks, 12 bytes.
    const std::array<std::uint8_t, 12> older{0,    0,    1,    0xBA, 0x21, 0x00,
                                             0x05, 0xBF, 0x21, 0x80, 0x00, 0x01};
    const auto olderPack = parsePackHeader(older);
    ASSERT_TRUE(olderPack);
    EXPECT_DOUBLE_EQ(olderPack->scrSeconds, 1.0);
}

class TimelineBuilderTest : public ::testing::Test {
protected:
    std::optional<Timeline> build(const SyntheticStream& stream) {
        const std::string path = m_dir.path() + "/movie.vob";
        stream.save(path);
        PackReader reader;
        EXPECT_TRUE(reader.open(path));
        return TimelineBuilder(reader).build();
    }

    TempDir m_dir;
};

TEST_F(TimelineBuilderTest, AClockThatRunsOnMakesOneStretch) {
    SyntheticStream stream;
    stream.addRun(300, 0.2, 0.7);
    const auto timeline = build(stream);
    ASSERT_TRUE(timeline);
    EXPECT_EQ(timeline->segmentCount(), 1u);
    EXPECT_EQ(timeline->lengthMs(), 12000);  // 300 frames of 40 ms
}

TEST_F(TimelineBuilderTest, RestartsAndLeapsSplitAtTheExactPack) {
    SyntheticStream stream;
    stream.addRun(150, 0.2, 0.7);      // 6 s
    stream.addRun(101, 0.2, 0.7);      // restarts: 4.04 s
    stream.addRun(50, 900.0, 900.5);   // leaps ahead: 2 s
    stream.addRun(20, 901.99, 902.5);  // the clock steps back 10 ms: jitter, not a restart
    const auto timeline = build(stream);
    ASSERT_TRUE(timeline);
    ASSERT_EQ(timeline->segmentCount(), 3u);
    EXPECT_EQ(timeline->segment(1).byteStart, 150u * 2048);
    EXPECT_EQ(timeline->segment(2).byteStart, 251u * 2048);
    EXPECT_NEAR(timeline->lengthMs(), 6000 + 4040 + 2800, 1);
    EXPECT_DOUBLE_EQ(timeline->segment(2).continuousStart, 10.04);
}

TEST_F(TimelineBuilderTest, RestartsBetweenSamplesOfALargeFileAreFoundByHalving) {
    // Over 8 MiB the file is sampled every other pack or more sparsely.
    SyntheticStream stream;
    stream.addRun(3001, 0.2, 0.7);
    stream.addRun(3000, 0.3, 0.8);
    const auto timeline = build(stream);
    ASSERT_TRUE(timeline);
    ASSERT_EQ(timeline->segmentCount(), 2u);
    EXPECT_EQ(timeline->segment(1).byteStart, 3001u * 2048);
    EXPECT_EQ(timeline->lengthMs(), 6001 * 40);
}

TEST_F(TimelineBuilderTest, FilesWithoutUsableClocksHaveNoTimeline) {
    SyntheticStream text;
    text.addBytes(std::string(100000, 'x'));
    EXPECT_FALSE(build(text));

    SyntheticStream onePack;
    onePack.addPack(0.2, 0.7);
    EXPECT_FALSE(build(onePack));
}

TEST_F(TimelineBuilderTest, ACutLastPackAndLeadingJunkAreTolerated) {
    SyntheticStream stream;
    stream.addBytes("junk before the first pack");
    stream.addRun(100, 0.2, 0.7);
    const std::string path = m_dir.path() + "/cut.vob";
    stream.save(path);
    std::filesystem::resize_file(path, stream.size() - 1500);
    PackReader reader;
    ASSERT_TRUE(reader.open(path));
    const auto timeline = TimelineBuilder(reader).build();
    ASSERT_TRUE(timeline);
    EXPECT_EQ(timeline->segmentCount(), 1u);
    EXPECT_NEAR(timeline->lengthMs(), 4000, 40);
}

}  // namespace
}  // namespace trelvane::mci::timeline
