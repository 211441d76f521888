#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "PatternFiles.h"
#include "TempDir.h"
#include "clip/PosixClipFiles.h"
#include "core/Failure.h"

namespace trelvane::clip::testing {
namespace {

namespace fs = std::filesystem;

TEST(PosixClipFiles, OpensPrivatelyReadsTheSourceOnlyAndCutsShortOnlyWhenEmptying) {
    mci::testing::TempDir dir;
    const std::string source = dir.path() + "/movie.vob";
    const std::string target = dir.path() + "/clip.vob";
    writePattern(source, 100);
    writePattern(target, 100);
    PosixClipFiles files;
    struct Case {
        const char* name;
        FileHandle handle;
        int accessMode;
    };
    const std::vector<Case> cases{
        {"source", files.openForReading(source), O_RDONLY},
        {"target", files.openForReadWrite(target), O_RDWR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Not handed on to the programs the window starts.
        EXPECT_NE(::fcntl(c.handle, F_GETFD) & FD_CLOEXEC, 0);
        EXPECT_EQ(::fcntl(c.handle, F_GETFL) & O_ACCMODE, c.accessMode);
        files.close(c.handle);
        EXPECT_EQ(::fcntl(c.handle, F_GETFD), -1);
    }
    EXPECT_EQ(readBytes(target), patternFrom(1, 100, 100));
    files.empty(target);
    EXPECT_EQ(fs::file_size(target), 0u);
}

TEST(PosixClipFiles, RefusesPipesAndFoldersAtOnceInsteadOfWaitingOnThem) {
    const mci::testing::TempDir dir;
    const std::string pipe = dir.path() + "/pipe.vob";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    PosixClipFiles files;
    // A blocking open of a pipe with no other end would hang here for good.
    EXPECT_THROW(files.openForReading(pipe), trelvane::Failure);
    EXPECT_THROW(files.openForReadWrite(pipe), trelvane::Failure);
    EXPECT_THROW(files.empty(pipe), trelvane::Failure);
    try {
        files.openForReadWrite(dir.path());
        FAIL() << "a folder was opened as a target";
    } catch (const trelvane::Failure& failure) {
        EXPECT_NE(failure.number(), 0);
    }
    EXPECT_THROW(files.openForReading(dir.path()), trelvane::Failure);
}

}  // namespace
}  // namespace trelvane::clip::testing
