#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "SyntheticStream.h"
#include "TempDir.h"
#include "mci/timeline/CountingReader.h"
#include "mci/timeline/TimelineBuilder.h"

namespace trelvane::mci::timeline {
namespace {

using mci::testing::SyntheticStream;
using mci::testing::TempDir;

constexpr std::uint64_t kPack = 2048;

class ClockFaultsTest : public ::testing::Test {
protected:
    std::optional<Timeline> build(const std::string& path) {
        PackReader file;
        EXPECT_TRUE(file.open(path));
        CountingReader counted(file);
        auto timeline = TimelineBuilder(counted).build();
        m_farReads = counted.farReads();
        m_bytesRead = file.tally().bytes;
        m_size = file.size();
        return timeline;
    }

    std::optional<Timeline> build(const SyntheticStream& stream) {
        const std::string path = m_dir.path() + "/movie.vob";
        stream.save(path);
        return build(path);
    }

    TempDir m_dir;
    int m_farReads = 0;
    std::uint64_t m_bytesRead = 0;
    std::uint64_t m_size = 0;
};

TEST_F(ClockFaultsTest, LeapsAheadAreGapsOfTheClockWhateverTheirSize) {
    // A minute of 40 ms packs whose clock leaps ahead halfway: the leap is
    // no time of the movie. A leap of 3 s looks like a quiet stretch to a
    // gap's bytes alone, yet the rates on both sides of the gap tell.
    for (const double leap : {3.0, 6.0}) {
        SCOPED_TRACE(leap);
        SyntheticStream stream;
        stream.addRun(750, 0.2, 0.7);
        stream.addRun(750, 0.2 + 30 + leap, 0.7 + 30 + leap);
        const auto timeline = build(stream);
        ASSERT_TRUE(timeline);
        EXPECT_NEAR(timeline->lengthMs(), 60000, 300);
        ASSERT_EQ(timeline->segmentCount(), 2u);
        EXPECT_EQ(timeline->segment(1).byteStart, 750 * kPack);
    }

    // A stretch three times as quiet is no leap: one stretch, all its time.
    SyntheticStream quiet;
    quiet.addRun(500, 0.2, 0.7);
    quiet.addRun(500, 20.2, 20.7, 0.12);
    quiet.addRun(500, 80.2, 80.7);
    const auto timeline = build(quiet);
    ASSERT_TRUE(timeline);
    EXPECT_EQ(timeline->segmentCount(), 1u);
    EXPECT_NEAR(timeline->lengthMs(), 100000, 300);

    // Nor is a still picture held for 10 s while the sound runs on: the
    // packs of those seconds carry sound alone, a tenth of a second each.
    SyntheticStream still;
    double clock = 0.2;
    for (int i = 0; i < 1600; ++i) {
        const bool held = i >= 700 && i < 800;
        if (!held) {
            still.addPack(clock, clock + 0.5, i % 12 == 0);
        }
        still.addSoundPack(clock + 0.01, clock + 0.5);
        clock += held ? 0.1 : 0.04;
    }
    const auto held = build(still);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->segmentCount(), 1u);
    EXPECT_NEAR(held->lengthMs(), std::llround((clock - 0.2) * 1000), 300);
}

TEST_F(ClockFaultsTest, ALeapOfTwoMinutesInAGigabyteIsNotCounted) {
    // 1 GiB at a disc's usual rate (a pack every 4.7 ms, 41 min), its clock
    // leaping 120 s ahead 1230 s in: far less than a coarse gap's bytes
    // would allow a quiet stretch.
    constexpr double kStep = 0.0047;
    constexpr int kPacks = 1 << 19;
    constexpr int kBefore = 261702;  // 1230 s
    const std::string path = m_dir.path() + "/big.vob";
    SyntheticStream stream;
    for (int i = 0; i < kPacks; i += 8192) {
        const int at = i < kBefore && i + 8192 > kBefore ? kBefore : i + 8192;
        const double leap = i >= kBefore ? 120 : 0;
        stream.addRun(at - i, 0.2 + i * kStep + leap, 0.7 + i * kStep + leap, kStep, 100);
        if (at != i + 8192) {
            stream.addRun(i + 8192 - at, 0.2 + at * kStep + 120, 0.7 + at * kStep + 120, kStep,
                          100);
        }
        stream.appendTo(path);
    }
    const auto timeline = build(path);
    ASSERT_TRUE(timeline);
    EXPECT_NEAR(timeline->lengthMs(), kPacks * kStep * 1000, 300);
    ASSERT_EQ(timeline->segmentCount(), 2u);
    EXPECT_EQ(timeline->segment(1).byteStart, kBefore * kPack);
    EXPECT_LE(m_farReads, TimelineBuilder::kCoarseSamples + 2 + 8);
}

TEST_F(ClockFaultsTest, PackClocksThatTheStampsDoNotFollowAreNoRestarts) {
    // Every pack's clock is noise while the stamps run on, as the player
    // plays it: no timeline, so that the player's own clock serves, and
    // reads that stay well within the file's size.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> anywhere(0, 3600);
    SyntheticStream noisy;
    for (int i = 0; i < 4000; ++i) {
        noisy.addPack(anywhere(random), 0.7 + i * 0.04, i % 12 == 0);
    }
    EXPECT_FALSE(build(noisy));
    EXPECT_LE(m_bytesRead, 3 * m_size);

    // The clock breaks twice where the stamps run on: one stretch.
    SyntheticStream glitch;
    glitch.addRun(400, 0.2, 0.7);
    glitch.addRun(300, 500.0, 0.7 + 400 * 0.04);
    glitch.addRun(300, 0.2 + 700 * 0.04, 0.7 + 700 * 0.04);
    const auto timeline = build(glitch);
    ASSERT_TRUE(timeline);
    EXPECT_EQ(timeline->segmentCount(), 1u);
    EXPECT_EQ(timeline->lengthMs(), 1000 * 40);
}

TEST_F(ClockFaultsTest, BreaksTheStampsDoNotWitnessAreReadOnlyWithinTheBudget) {
    // 40 MB whose stamps run on for 800 s while a share of the packs carry
    // a clock of noise. A little noise is read past: one stretch, all its
    // time. More would cost reads without end, and they stop at the budget;
    // past half, the coarse pass already calls the clock noise. Either way
    // the player's own clock is then left to serve.
    struct Case {
        double share;
        bool timeline;
    };
    for (const Case c : {Case{0.1, true}, Case{0.25, false}, Case{0.4, false}}) {
        SCOPED_TRACE(c.share);
        std::mt19937 random(11);
        std::uniform_real_distribution<double> unit(0, 1);
        SyntheticStream stream;
        for (int i = 0; i < 20000; ++i) {
            const double pts = 0.7 + i * 0.04;
            stream.addPack(unit(random) < c.share ? unit(random) * 3600 : pts - 0.5, pts,
                           i % 12 == 0);
        }
        const auto timeline = build(stream);
        EXPECT_LE(m_bytesRead, 3 * m_size);
        ASSERT_EQ(timeline.has_value(), c.timeline);
        if (timeline) {
            EXPECT_EQ(timeline->segmentCount(), 1u);
            EXPECT_EQ(timeline->lengthMs(), 20000 * 40);
        }
    }
}

TEST_F(ClockFaultsTest, JoinedLikePartsCostAboutOneSeekEach) {
    // 48 like parts of 1 MiB joined, a restart at each join: found where the
    // part before says it ends, one far read each, and no other pass.
    SyntheticStream stream;
    for (int part = 0; part < 48; ++part) {
        stream.addRun(512, 0.2, 0.7, 0.0047, 100);
    }
    const auto timeline = build(stream);
    ASSERT_TRUE(timeline);
    ASSERT_EQ(timeline->segmentCount(), 48u);
    EXPECT_EQ(timeline->segment(47).byteStart, 47 * 512 * kPack);
    EXPECT_LE(m_farReads, TimelineBuilder::kCoarseSamples + 2 + 48 + 48 / 2);

    // 72 parts of 3 to 5 MiB, over 256 MiB: sparser passes come first, the
    // joins are found from them, and the coarse samples between, all near a
    // join by then, cost no seeks. One far read a join, the sparsest pass,
    // and the finer look at the few gaps whose clock hid a join; the coarse
    // pass alone would seek 32 times before the first join.
    constexpr int kParts = 72;
    const std::string path = m_dir.path() + "/joined.vob";
    std::vector<std::uint64_t> joins;
    std::uint64_t packs = 0;
    SyntheticStream parts;
    for (int part = 0; part < kParts; ++part) {
        const int count = 1536 + (part * 337) % 1024;
        joins.push_back(packs * kPack);
        parts.addRun(count, 0.2, 0.7, 0.0047, 100);
        parts.appendTo(path);
        packs += static_cast<std::uint64_t>(count);
    }
    const auto joined = build(path);
    ASSERT_GE(m_size, std::uint64_t{256} << 20);
    ASSERT_TRUE(joined);
    std::vector<std::uint64_t> starts;
    for (std::size_t i = 0; i < joined->segmentCount(); ++i) {
        starts.push_back(joined->segment(i).byteStart);
    }
    EXPECT_EQ(starts, joins);
    EXPECT_NEAR(joined->lengthMs(), static_cast<double>(packs) * 4.7, kParts);
    EXPECT_LE(m_farReads, (kParts - 1) + TimelineBuilder::kCoarseSamples / 2 + 4);
    // At a drive's pace the bytes count as well: under 256 KiB a join, the
    // search and the packs either side of it included.
    EXPECT_LE(m_bytesRead, std::uint64_t{kParts} * (256 << 10)) << m_bytesRead / 1024 << " KiB";
}

TEST_F(ClockFaultsTest, LongSearchesReadInPieces) {
    // A pack, 20 MiB of nothing, a pack: the search over the gap finds the
    // second, reading a piece at a time rather than the whole gap at once.
    SyntheticStream stream;
    stream.addRun(2, 0.2, 0.7);
    stream.addBytes(std::string(20 << 20, '\0'));
    stream.addRun(2, 0.3, 0.8);
    const std::string path = m_dir.path() + "/gap.vob";
    stream.save(path);
    PackReader reader;
    ASSERT_TRUE(reader.open(path));
    const auto pack = reader.packAt(2 * kPack, stream.size());
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->offset, 2 * kPack + (20 << 20));
    const PackReader::Tally tally = reader.tally();
    EXPECT_LE(tally.longest, PackReader::kSearchPiece + 8192);
    EXPECT_LE(tally.bytes, (25u << 20));

    // Stopped, a search reads nothing more.
    reader.stop();
    EXPECT_FALSE(reader.packAt(0, stream.size()));
    EXPECT_EQ(reader.tally().bytes, tally.bytes);
}

}  // namespace
}  // namespace trelvane::mci::timeline
