#include <gtest/gtest.h>

#include "SyntheticStream.h"
#include "TempDir.h"
#include "mci/timeline/CountingReader.h"
#include "mci/timeline/SeekPoint.h"
#include "mci/timeline/TimelineBuilder.h"

namespace trelvane::mci::timeline {
namespace {

using mci::testing::SyntheticStream;
using mci::testing::TempDir;

constexpr std::uint64_t kPack = 2048;
constexpr double kFrame = 0.04;

class SparseReadingTest : public ::testing::Test {
protected:
    // Runs of packs a frame apart; each run starts its clock at the given
    // second, or carries on the clock before it when that is negative.
    std::optional<Timeline> build(const std::vector<std::pair<int, double>>& runs) {
        SyntheticStream stream;
        double clock = 0.2;
        for (const auto& [count, start] : runs) {
            clock = start >= 0 ? start : clock;
            stream.addRun(count, clock, clock + 0.5, kFrame);
            clock += count * kFrame;
        }
        const std::string path = m_dir.path() + "/movie.vob";
        stream.save(path);
        PackReader file;
        EXPECT_TRUE(file.open(path));
        CountingReader reader(file);
        auto timeline = TimelineBuilder(reader).build();
        m_reads = reader.reads();
        m_farReads = reader.farReads();
        return timeline;
    }

    std::vector<std::uint64_t> starts(const Timeline& timeline) const {
        std::vector<std::uint64_t> offsets;
        for (std::size_t i = 0; i < timeline.segmentCount(); ++i) {
            offsets.push_back(timeline.segment(i).byteStart / kPack);
        }
        return offsets;
    }

    TempDir m_dir;
    int m_reads = 0;
    int m_farReads = 0;
};

TEST_F(SparseReadingTest, ReadsGrowWithTheRestartsNotWithTheSize) {
    // 64 MiB whose clock runs on: the coarse pass and the two ends, each a
    // seek of its own, and nothing more.
    const auto plain = build({{32768, 0.2}});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->segmentCount(), 1u);
    EXPECT_LE(m_farReads, TimelineBuilder::kCoarseSamples + 2);
    const int plainFar = m_farReads;

    // Three restarts (two steps back, one leap ahead) in the same size: each
    // found at its exact pack for a few more seeks; the old pass of 4096
    // samples sought 4096 times whatever the file held.
    const auto big = build({{9001, 0.2}, {11999, 0.2}, {5000, 3000}, {6768, 0.3}});
    ASSERT_TRUE(big);
    EXPECT_EQ(starts(*big), (std::vector<std::uint64_t>{0, 9001, 21000, 26000}));
    EXPECT_EQ(big->lengthMs(), 32768 * 40);
    EXPECT_LE(m_farReads, plainFar + 3 * 4);
    EXPECT_LT(m_reads, 1000);

    // In a file of a few coarse gaps' worth, down to restarts a pack apart.
    const auto small = build({{100, 0.2}, {2, 50}, {2, 10}, {1000, 20}});
    ASSERT_TRUE(small);
    EXPECT_EQ(starts(*small), (std::vector<std::uint64_t>{0, 100, 102, 104}));
    EXPECT_EQ(small->lengthMs(), (100 + 2 + 2 + 1000) * 40);
}

TEST_F(SparseReadingTest, AStepBackAndALeapThatCancelInsideOneGapGoUnseen) {
    // 3200 packs sampled every 100. The clock steps back a minute at pack
    // 1020 and leaps back onto its old course later: a pass that looked at
    // every pack sees both; the coarse pass sees neither when both fall
    // between the same two samples. The length still comes out right, but
    // inside the hidden stretch positions go by a clock a minute off.
    const double back = 100 + 1020 * kFrame - 60;
    const auto hidden = build({{1020, 100}, {40, back}, {2140, 100 + 1060 * kFrame}});
    ASSERT_TRUE(hidden);
    EXPECT_EQ(hidden->segmentCount(), 1u);
    EXPECT_EQ(hidden->lengthMs(), 3200 * 40);

    // In different gaps, each is found at its exact pack.
    const auto apart = build({{1020, 100}, {240, back}, {1940, 100 + 1260 * kFrame}});
    ASSERT_TRUE(apart);
    EXPECT_EQ(starts(*apart), (std::vector<std::uint64_t>{0, 1020, 1260}));
    EXPECT_EQ(apart->lengthMs(), 3200 * 40);
}

TEST_F(SparseReadingTest, SeeksFindTheirPictureGroupBetweenDistantSamples) {
    // 64 MiB sampled every 1024 packs. Past pack 1120 the clock runs four
    // times faster for 500 packs: no restart, so nothing between the samples
    // is read at open, and the clock between them is far from linear. A seek
    // to the group at pack 1704 must still land there.
    SyntheticStream stream;
    stream.addRun(1120, 0.2, 0.7);
    stream.addRun(500, 45.0, 45.5, 0.01);
    stream.addRun(29148, 50.0, 50.5);
    stream.addRun(2000, 0.2, 0.7);  // and a restart, as in a joined file
    const std::string path = m_dir.path() + "/uneven.vob";
    stream.save(path);
    PackReader reader;
    ASSERT_TRUE(reader.open(path));
    const auto timeline = TimelineBuilder(reader).build();
    ASSERT_TRUE(timeline);
    ASSERT_EQ(timeline->segmentCount(), 2u);
    const Place place = timeline->locate(std::llround((50.0 + 84 * kFrame + 0.5 - 0.7) * 1000));
    EXPECT_EQ(place.segment, 0u);
    EXPECT_EQ(seekPoint(reader, *timeline, place).offset, (1620 + 84) * kPack);
    EXPECT_EQ(seekPoint(reader, *timeline, timeline->locate(timeline->lengthMs() - 40000)).offset,
              (32768 - 2000 + 996) * kPack);
}

}  // namespace
}  // namespace trelvane::mci::timeline
