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

TEST_F(TimelineTrackingTest, SeeksStartAtTheLastPictureGroupBeforeTheTarget) {
    // Groups open every 12 packs (0.48 s). 13.0 s and 13.2 s are 3.0 and
    // 3.2 s into the second stretch, after its group at pack 72 (2.88 s) and
    // before the one at pack 84 (3.36 s), which is nearer to 13.2 s: the core
    // only plays on from where it starts, so both start at 72. At 13.3 s
    // the group just after is nearer than stepping through a whole group.
    const auto at = [&](std::int64_t ms, std::optional<double> before = std::nullopt) {
        return seekPoint(m_reader, *m_timeline, m_timeline->locate(ms), before);
    };
    EXPECT_EQ(at(13000).offset, (250 + 72) * kPack);
    EXPECT_EQ(at(13200).offset, (250 + 72) * kPack);
    const SeekPoint justAfter = at(13300);
    EXPECT_EQ(justAfter.offset, (250 + 84) * kPack);
    ASSERT_TRUE(justAfter.groupPts);
    EXPECT_NEAR(*justAfter.groupPts, 0.5 + 3.36, 1e-6);
    // Where the core would not start at that group, the one before it.
    EXPECT_EQ(at(13300, justAfter.groupPts).offset, (250 + 72) * kPack);
    EXPECT_EQ(at(20000).offset, 500 * kPack);
}

}  // namespace
}  // namespace trelvane::mci::timeline
