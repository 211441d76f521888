#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <vector>

#include "FaultyClipFiles.h"
#include "PatternFiles.h"
#include "RecordingHost.h"
#include "TempDir.h"
#include "clip/ClipCopy.h"
#include "clip/ClipFailures.h"
#include "clip/PosixClipFiles.h"

namespace trelvane::clip::testing {
namespace {

class ClipCopyTest : public ::testing::Test {
protected:
    void makeSource(std::int64_t length, std::int32_t movieLength) {
        m_sourceLength = length;
        writePattern(m_source, length);
        m_host = RecordingHost();
        m_host.movieLength = movieLength;
    }

    // Runs a whole copy and hands back the failure that stopped it, if any.
    // The copy is never closed by hand: its end must close the files.
    std::optional<Failure> copy(std::int32_t clipBegin, std::int32_t clipEnd) {
        ClipTarget target(m_files, m_target);
        ClipCopy copy(m_files, m_host);
        try {
            copy.run(m_source, target, clipBegin, clipEnd);
        } catch (const Failure& failure) {
            return failure;
        }
        return std::nullopt;
    }

    void expectSourceIntact() const {
        EXPECT_EQ(readBytes(m_source), patternFrom(1, m_sourceLength, m_sourceLength));
    }

    mci::testing::TempDir m_dir;
    std::string m_source = m_dir.path() + "/movie.vob";
    std::string m_target = m_dir.path() + "/clip.vob";
    std::int64_t m_sourceLength = 0;
    PosixClipFiles m_posix;
    FaultyClipFiles m_files{m_posix};
    RecordingHost m_host;
};

TEST_F(ClipCopyTest, StopsAtTheFirstFailureKeepingWhatWasWrittenAndClosingBothFiles) {
    struct Case {
        const char* name;
        std::int64_t sourceLength;
        std::int32_t movieLength;
        std::int32_t clipBegin;
        std::int32_t clipEnd;
        std::function<void(FaultyClipFiles&)> arrange;
        const char* reason;
        std::optional<std::uintmax_t> targetSize;  // nothing: never created
    };
    const auto none = [](FaultyClipFiles&) {};
    const auto fail = [](FileCall call, int nth, int error) {
        return [=](FaultyClipFiles& files) { files.failCall(call, nth, error); };
    };
    const auto sized = [](std::int64_t size) {
        return [=](FaultyClipFiles& files) { files.reportSize(size); };
    };
    const std::vector<Case> cases{
        {"movie length 0", 60'000, 0, 10, 50, none, "movie length is 0 seconds", 0},
        // Byte positions are 64-bit, the byte rate stays 32-bit.
        {"byte rate past 32 bits", 60'000, 2, 1, 2, sized(std::int64_t{5} << 30), "overflow", 0},
        {"negative begin", 60'000, 60, -3'000'000, 5, none, "bad file position", 0},
        // Under half a byte a second: the first read would be at position 0.
        {"byte rate 0", 10, 100, 10, 50, none, "bad file position", 0},
        {"disk full", 100'000, 100, 1, 60, fail(FileCall::Write, 2, ENOSPC), "disk full", 20'481},
        {"too large", 100'000, 100, 1, 60, fail(FileCall::Write, 1, EFBIG), "file too large", 0},
        {"i/o", 100'000, 100, 1, 60, fail(FileCall::Read, 3, EIO), "input/output error", 40'961},
        {"target", 100'000, 100, 1, 60, fail(FileCall::OpenForReadWrite, 1, EACCES),
         "permission denied", std::nullopt},
        {"source", 100'000, 100, 1, 60, fail(FileCall::OpenForReading, 1, ENOENT),
         "no such file or directory", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeSource(c.sourceLength, c.movieLength);
        m_files.reportSize(std::nullopt);
        c.arrange(m_files);
        std::filesystem::remove(m_target);

        const std::optional<Failure> failure = copy(c.clipBegin, c.clipEnd);

        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failures::reason(*failure), c.reason);
        if (c.targetSize) {
            EXPECT_EQ(std::filesystem::file_size(m_target), *c.targetSize);
        } else {
            EXPECT_FALSE(std::filesystem::exists(m_target));
        }
        EXPECT_EQ(m_files.openHandles(), 0u);
        expectSourceIntact();
    }
}

// The byte rate takes the source's size, then the movie's length: a size
// that cannot be had ends the save before the movie control is asked.
TEST_F(ClipCopyTest, TheSourcesSizeIsTakenBeforeTheMoviesLength) {
    writePattern(m_source, 100'000);
    m_host.movieLength = 100;
    m_files.failCall(FileCall::SizeOf, 1, EIO);
    EXPECT_TRUE(copy(10, 50).has_value());
    EXPECT_EQ(m_host.lengthAsked, 0);
}

}  // namespace
}  // namespace trelvane::clip::testing
