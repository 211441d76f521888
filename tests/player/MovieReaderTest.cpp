#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "mci/timeline/MovieReader.h"

// The movie's one reader over a file with scratches of several sizes (the
// unreadable-medium shim, preloaded by the test's environment): what it
// reads is the file's own bytes, what it skips starts where a scratch
// starts and ends soon after it ends, and each scratch costs at most two
// failed reads however often it is read over, by however many readers.
namespace trelvane::testing {
namespace {

namespace fs = std::filesystem;
using mci::timeline::MovieReader;

constexpr std::uint64_t kMiB = 1 << 20;
constexpr std::uint64_t kFileBytes = 16 * kMiB;

struct Range {
    std::uint64_t from;
    std::uint64_t to;
};
// A few sectors, a megabyte, and three megabytes: past the first leap.
const std::vector<Range> kScratches = {
    {kMiB + 4096, kMiB + 12288}, {4 * kMiB, 5 * kMiB}, {8 * kMiB + 2048, 11 * kMiB}};

std::uint8_t patternAt(std::uint64_t offset) {
    return static_cast<std::uint8_t>((offset * 2654435761u) >> 11);
}

long failedReads() {
    using Count = long (*)();
    const auto count = reinterpret_cast<Count>(::dlsym(RTLD_DEFAULT, "unreadableMediumFailures"));
    return count != nullptr ? count() : -1;
}

class MovieReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(failedReads(), 0) << "the unreadable-medium shim is not preloaded";
        std::string ranges;
        for (const Range& r : kScratches) {
            ranges +=
                (ranges.empty() ? "" : ",") + std::to_string(r.from) + "-" + std::to_string(r.to);
        }
        ::setenv("TRELVANE_BAD_FILES", "*/scratched.vob", 1);
        ::setenv("TRELVANE_BAD_RANGES", ranges.c_str(), 1);
        ::setenv("TRELVANE_BAD_DELAY_MS", "0", 1);
        fs::create_directories(m_dir);
        std::vector<std::uint8_t> bytes(kFileBytes);
        for (std::uint64_t i = 0; i < kFileBytes; ++i) {
            bytes[i] = patternAt(i);
        }
        const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Reads the whole file front to back, as the player does, and returns
    // the stretches it had to skip.
    std::vector<Range> readThrough(const MovieReader& reader, std::size_t chunk) {
        std::vector<Range> skipped;
        std::vector<std::uint8_t> buffer(chunk);
        std::uint64_t at = 0;
        while (at < reader.size()) {
            const std::size_t got = reader.readAt(at, buffer.data(), chunk);
            for (std::size_t i = 0; i < got; ++i) {
                if (buffer[i] != patternAt(at + i)) {
                    ADD_FAILURE() << "wrong byte at " << at + i;
                    return skipped;
                }
            }
            if (got > 0) {
                at += got;
                continue;
            }
            const std::uint64_t end = reader.gapEnd(at);
            if (end <= at) {
                ADD_FAILURE() << "nothing read at " << at << " and no gap there";
                return skipped;
            }
            skipped.push_back({at, end});
            at = end;
        }
        return skipped;
    }

    const fs::path m_dir = fs::temp_directory_path() / ("reader-" + std::to_string(::getpid()));
    const std::string m_path = (m_dir / "scratched.vob").string();
};

TEST_F(MovieReaderTest, SkipsExactlyFromEachScratchAndPaysForItOnceForAllReaders) {
    MovieReader reader;
    ASSERT_TRUE(reader.open(m_path));
    const long before = failedReads();
    const std::vector<Range> skipped = readThrough(reader, 64 * 1024);
    const long failed = failedReads() - before;
    ASSERT_EQ(skipped.size(), kScratches.size());
    for (std::size_t i = 0; i < kScratches.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(skipped[i].from, kScratches[i].from);
        EXPECT_GE(skipped[i].to, kScratches[i].to);
        // The leap past a scratch takes at most a megabyte of good movie,
        // or four past a scratch longer than the first leap.
        EXPECT_LE(skipped[i].to, kScratches[i].from + 4 * kMiB);
    }
    EXPECT_GE(failed, static_cast<long>(kScratches.size()));
    EXPECT_LE(failed, 2 * static_cast<long>(kScratches.size()));
    EXPECT_EQ(reader.failedReads(), static_cast<std::uint64_t>(failed));

    // A second reading, in other chunks and from the middle of a scratch, as
    // the time index reads beside the player: nothing more fails.
    EXPECT_EQ(readThrough(reader, 5000).size(), kScratches.size());
    std::uint8_t byte = 0;
    EXPECT_EQ(reader.readAt(kScratches[1].from + 1000, &byte, 1), 0u);
    EXPECT_EQ(failedReads() - before, failed);
}

}  // namespace
}  // namespace trelvane::testing
