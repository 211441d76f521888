#include <gtest/gtest.h>

#include "SyntheticStream.h"
#include "TempDir.h"
#include "mci/timeline/SeekPoint.h"
#include "mci/timeline/SegmentTracker.h"
#include "mci/timeline/TimelineBuilder.h"
#include "mci/timeline/TimelineTask.h"

namespace trelvane::mci::timeline {
namespace {

using mci::testing::SyntheticStream;
using mci::testing::TempDir;

constexpr std::uint64_t kPack = 2048;

// Three stretches of 10 s whose stamps all run from 0.5 to 10.5, as when
// parts encoded alike are joined.
class TimelineTrackingTest : public ::testing::Test {
protected:
    void SetUp() override {
        SyntheticStream stream;
        for (int part = 0; part < 3; ++part) {
            stream.addRun(250, 0.1, 0.5);
        }
        m_path = m_dir.path() + "/joined.vob";
        stream.save(m_path);
        ASSERT_TRUE(m_reader.open(m_path));
        auto built = TimelineBuilder(m_reader).build();
        ASSERT_TRUE(built);
        ASSERT_EQ(built->segmentCount(), 3u);
        m_timeline.emplace(std::move(*built));
    }

    TempDir m_dir;
    std::string m_path;
    PackReader m_reader;
    std::optional<Timeline> m_timeline;
};

TEST_F(TimelineTrackingTest, PlacesAndContinuousTimesCorrespond) {
    const Place place = m_timeline->locate(15250);
    EXPECT_EQ(place.segment, 1u);
    EXPECT_NEAR(place.pts, 5.75, 1e-9);
    EXPECT_EQ(m_timeline->continuousMs(place), 15250);
    EXPECT_EQ(m_timeline->locate(30000).segment, 2u);
    EXPECT_EQ(m_timeline->continuousMs({0, 99.0}), 10000);  // kept inside its stretch
}

TEST_F(TimelineTrackingTest, PlaybackIsFollowedFromStretchToStretch) {
    SegmentTracker tracker(*m_timeline);
    tracker.restart({0, 0.5});
    EXPECT_EQ(tracker.positionMs(9.9, 240 * kPack), 9400);
    EXPECT_EQ(tracker.positionMs(9.7, 245 * kPack), 9400 - 200);  // a small step back stays
    EXPECT_EQ(tracker.positionMs(0.6, 260 * kPack), 10100);
    EXPECT_EQ(tracker.segment(), 1u);
    EXPECT_EQ(tracker.positionMs(7.0, 420 * kPack), 16500);
}

TEST_F(TimelineTrackingTest, AStampNoStretchHoldsKeepsTheLastPosition) {
    // Seen from the player while it resyncs after a restart: for a moment it
    // shows a stamp from nowhere in the file, then the true ones again.
    SegmentTracker tracker(*m_timeline);
    tracker.restart({1, 9.0});
    EXPECT_EQ(tracker.positionMs(9.2, 500 * kPack), 18700);
    EXPECT_EQ(tracker.positionMs(114.1, 505 * kPack), 18700);
    EXPECT_EQ(tracker.positionMs(114.1, 505 * kPack), 18700);
    EXPECT_EQ(tracker.segment(), 1u);
    EXPECT_EQ(tracker.positionMs(9.4, 510 * kPack), 18900);
    EXPECT_EQ(tracker.positionMs(0.7, 520 * kPack), 20200);
    EXPECT_EQ(tracker.segment(), 2u);
}

TEST_F(TimelineTrackingTest, WhereThePlayerReadsPicksAmongStretchesHoldingTheStamp) {
    SegmentTracker tracker(*m_timeline);
    tracker.restart({0, 9.0});
    // Stamp 3.0 comes again in both later stretches; reading in the third
    // means playback skipped past the second between two looks.
    EXPECT_EQ(tracker.positionMs(3.0, 600 * kPack), 22500);
    tracker.restart({0, 9.0});
    EXPECT_EQ(tracker.positionMs(3.0, 330 * kPack), 12500);
}

TEST_F(TimelineTrackingTest, PlaybackAlreadyUnderWayIsPlacedWhereThePlayerReads) {
    // The timeline can come in while the movie plays: stamp 3.0 is in every
    // stretch, and only where the player reads tells which one it is.
    SegmentTracker tracker(*m_timeline);
    tracker.find(3.0, 580 * kPack);
    EXPECT_EQ(tracker.segment(), 2u);
    EXPECT_EQ(tracker.positionMs(3.2, 585 * kPack), 22700);
    tracker.find(3.0, 90 * kPack);
    EXPECT_EQ(tracker.positionMs(3.0, 90 * kPack), 2500);
    tracker.find(3.0, std::nullopt);
    EXPECT_EQ(tracker.segment(), 0u);
}

TEST_F(TimelineTrackingTest, ABuildOnItsOwnThreadMatchesAndCanBeCalledOff) {
    TimelineTask task(m_path);
    auto built = task.take();
    ASSERT_TRUE(built);
    EXPECT_EQ(built->timeline.segmentCount(), 3u);
    EXPECT_EQ(built->timeline.lengthMs(), m_timeline->lengthMs());
    EXPECT_EQ(built->timeline.continuousMs({1, 3.0}), m_timeline->continuousMs({1, 3.0}));
    EXPECT_EQ(built->reader->size(), m_reader.size());

    // Calling a build off stops its reads: it then finds no clocks at all.
    PackReader stopped;
    ASSERT_TRUE(stopped.open(m_path));
    stopped.stop();
    EXPECT_FALSE(stopped.packAt(0));
    EXPECT_FALSE(TimelineBuilder(stopped).build());
    TimelineTask missing(m_dir.path() + "/missing.vob");
    EXPECT_FALSE(missing.take());
}

TEST_F(TimelineTrackingTest, SeeksStartAtThePictureGroupNearestTheTarget) {
    // Groups open every 12 packs (0.48 s); 13.0 s is 3.0 s into the second
    // stretch, nearest the group at pack 72 of it (2.88 s).
    const std::uint64_t offset = seekOffset(m_reader, *m_timeline, m_timeline->locate(13000));
    EXPECT_EQ(offset, (250 + 72) * kPack);
    EXPECT_EQ(seekOffset(m_reader, *m_timeline, m_timeline->locate(20000)), 500 * kPack);
}

}  // namespace
}  // namespace trelvane::mci::timeline
