#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

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
        float maximum;
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
    PosixClipFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sourceSize);
        const std::string target = dir.path() + "/clip" + std::to_string(c.clipBegin) + ".vob";
        ASSERT_TRUE(makeStampedSource(source, c.sourceSize, {{c.start, c.start + c.clipSize}}));
        RecordingHost host;
        host.movieLength = c.movieLength;
        // The save handler has made a begin of 0 into 1 by now.
        const std::int32_t clipBegin = std::max(c.clipBegin, 1);
        const std::int32_t rate = byteRate(sourceLength(c.sourceSize), c.movieLength);
        EXPECT_EQ(startPosition(clipBegin, rate), c.start);
        EXPECT_EQ(endPosition(c.clipEnd, rate), c.end);

        ClipCopy(files, host).run(source, target, clipBegin, c.clipEnd);

        EXPECT_EQ(host.maximums, std::vector<float>{c.maximum});
        const auto passes = static_cast<int>((c.clipSize - 1) / 20'480);
        ASSERT_EQ(host.yields, passes);
        EXPECT_EQ(host.values.back(), 20'480.0f * static_cast<float>(passes));
        EXPECT_EQ(readBytes(target), stampedFrom(c.start, c.clipSize, c.sourceSize));
        std::filesystem::remove(target);
    }
}

}  // namespace
}  // namespace trelvane::clip::testing
