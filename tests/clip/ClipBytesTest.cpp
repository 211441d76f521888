#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "FaultyClipFiles.h"
#include "PatternFiles.h"
#include "RecordingHost.h"
#include "StampedSource.h"
#include "TempDir.h"
#include "clip/ByteRange.h"
#include "clip/ClipCopy.h"
#include "clip/PosixClipFiles.h"

namespace trelvane::clip::testing {
namespace {

// Clips whose every figure was taken from the program as it stood before
// byte positions grew past 32 bits: any change to what these sources give
// is a change users would see in their files.
TEST(ClipBytes, SourcesUnder2GiBGiveTheSameClipsAsEver) {
    struct Case {
        std::int64_t sourceSize;
        std::int32_t movieLength;
        std::int32_t clipBegin;
        std::int32_t clipEnd;
        std::int64_t start;
        std::int64_t end;
        std::int64_t clipSize;
        std::int64_t maximum;
    };
    const std::vector<Case> cases{
        {100'000, 100, 10, 50, 10'000, 50'000, 40'961, 60'481},
        {100'000, 100, 0, 50, 1'000, 50'000, 61'441, 69'481},
        {25, 10, 1, 5, 2, 10, 20'481, 20'489},  // 2.5 a second rounds down to even
        {35, 10, 1, 5, 4, 20, 20'481, 20'497},  // 3.5 rounds up to even
        {50'000, 50, 10, 45, 10'000, 45'000, 40'961, 55'481},
        {2'048'000, 100, 1, 3, 20'480, 61'440, 61'441, 61'441},  // a stretch of whole steps
        {1'000'003, 7, 2, 6, 285'716, 857'148, 573'441, 591'913},
        {2'000'000'000, 7'200, 7'190, 7'200, 1'997'223'820, 2'000'001'600, 2'785'281, 2'798'261},
        {2'147'000'000, 3'600, 3'590, 3'599, 2'141'036'510, 2'146'404'011, 5'386'241, 5'387'982},
    };
    mci::testing::TempDir dir;
    const std::string source = dir.path() + "/movie.vob";
    PosixClipFiles posix;
    FaultyClipFiles files(posix);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sourceSize);
        const std::string target = dir.path() + "/clip" + std::to_string(c.clipBegin) + ".vob";
        ASSERT_TRUE(makeStampedSource(source, c.sourceSize, {{c.start, c.start + c.clipSize}}));
        RecordingHost host;
        host.movieLength = c.movieLength;
        // The save handler has made a begin of 0 into 1 by now.
        const std::int32_t clipBegin = std::max(c.clipBegin, 1);
        const std::int32_t rate = byteRate(c.sourceSize, c.movieLength);
        EXPECT_EQ(startPosition(clipBegin, rate), c.start);
        EXPECT_EQ(endPosition(c.clipEnd, rate), c.end);

        {
            ClipTarget into(files, target);
            ClipCopy(files, host).run(source, into, clipBegin, c.clipEnd);
        }

        EXPECT_EQ(files.openHandles(), 0u);
        EXPECT_EQ(host.maximums, std::vector<float>{static_cast<float>(c.maximum)});
        const auto passes = static_cast<int>((c.clipSize - 1) / 20'480);
        EXPECT_EQ(host.yields, passes);
        // Read back from the bar and raised by a chunk, once per pass.
        std::vector<float> values{0};
        for (int pass = 1; pass <= passes; ++pass) {
            values.push_back(20'480.0f * static_cast<float>(pass));
        }
        EXPECT_EQ(host.values, values);
        // Near the end of the source a chunk is cut short, and its rest is
        // zeros, not what the chunk before left in the buffer.
        EXPECT_EQ(readBytes(target), stampedFrom(c.start, c.clipSize, c.sourceSize));
        std::filesystem::remove(target);
    }
}

// Whole movies from discs are 4 to 8 GB: the clip's place, size and bytes
// must come out right however far past 2^31 and 2^32 bytes the marks lie.
TEST(ClipBytes, SourcesPast2And4GiBAreCutWhereTheMarksSay) {
    struct Case {
        const char* name;
        std::int64_t sourceSize;
        std::int32_t movieLength;
        std::int32_t clipBegin;
        std::int32_t clipEnd;
        std::int64_t start;
        int passes;
        std::int64_t maximum;
    };
    const std::vector<Case> cases{
        // The last step takes the position past 2^31 - 1, which once failed
        // the save after the whole clip was written.
        {"ends a few KiB below 2 GiB", 2'147'480'000, 100, 99, 100, 2'126'005'200, 1'049,
         21'495'281},
        {"past 2 GiB", 2'400'000'000, 3'000, 2'900, 2'901, 2'320'000'000, 40, 820'481},
        {"across 4 GiB", 4'700'000'000, 1'000, 913, 914, 4'291'100'000, 230, 4'720'481},
        {"ends past 4 GiB", 5'000'000'000, 3'600, 3'599, 3'600, 4'998'611'511, 68, 1'409'370},
    };
    mci::testing::TempDir dir;
    const std::string source = dir.path() + "/movie.vob";
    const std::string target = dir.path() + "/clip.vob";
    PosixClipFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::int64_t clipSize = 20'480 * std::int64_t{c.passes} + 1;
        ASSERT_TRUE(makeStampedSource(source, c.sourceSize, {{c.start - 100, c.start + clipSize}}));
        RecordingHost host;
        host.movieLength = c.movieLength;

        ClipTarget into(files, target);
        ClipCopy(files, host).run(source, into, c.clipBegin, c.clipEnd);

        EXPECT_EQ(host.maximums, std::vector<float>{static_cast<float>(c.maximum)});
        EXPECT_EQ(host.yields, c.passes);
        const Bytes clip = readBytes(target);
        ASSERT_EQ(static_cast<std::int64_t>(clip.size()), clipSize);
        EXPECT_EQ(clip.front(), stampByte(c.start));
        EXPECT_EQ(clip[clip.size() / 2], stampByte(c.start + clipSize / 2));
        // Whatever the last chunk finds past the source's end is written as zeros.
        const std::int64_t inSource = std::min(clipSize, c.sourceSize - c.start + 1);
        EXPECT_EQ(clip[static_cast<std::size_t>(inSource - 1)], stampByte(c.start + inSource - 1));
        EXPECT_EQ(std::count(clip.begin() + inSource, clip.end(), std::byte{0}),
                  clipSize - inSource);
        EXPECT_TRUE(clip == stampedFrom(c.start, clipSize, c.sourceSize));
        std::filesystem::remove(target);
    }
}

// A clip longer than 2^31 bytes: the bar is given halves, quarters, ... of
// bytes, and each chunk still moves it by the same exact step up to full.
TEST(ClipBytes, TheProgressOfAClipPast2GiBMovesInExactStepsToFull) {
    struct Case {
        std::int32_t clipEnd;
        std::int64_t maximum;
        float step;
    };
    // 1000000 bytes a second from the first second on.
    const std::vector<Case> cases{
        {2'148, 2'147'020'481, 20'480},
        {3'000, 1'499'510'241, 10'240},
        {8'000, 1'999'755'121, 5'120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipEnd);
        const ProgressScale progress = progressScale(1, c.clipEnd, 1'000'000);
        EXPECT_EQ(progress.maximum, static_cast<float>(c.maximum));
        EXPECT_EQ(progress.step, c.step);
        const std::int64_t passes = (std::int64_t{c.clipEnd - 1} * 1'000'000) / 20'480 + 1;
        float value = 0;
        for (std::int64_t pass = 1; pass <= passes; ++pass) {
            value += progress.step;
        }
        EXPECT_EQ(value, static_cast<float>(passes) * progress.step);
        EXPECT_LE(value, progress.maximum);
        EXPECT_GT(value / progress.maximum, 0.9999f);
    }
}

}  // namespace
}  // namespace trelvane::clip::testing
