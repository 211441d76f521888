#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <vector>

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

// Writes a chunk past a file size limit of one kibibyte, with SIGXFSZ
// ignored as the program sets it at its start, and ends the process with 0
// when the write failed as "File too large", 1 otherwise.
[[noreturn]] void writePastTheSizeLimit(const std::string& target) {
    std::signal(SIGXFSZ, SIG_IGN);
    PosixClipFiles files;
    const rlimit limit{1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const FileHandle file = files.openForReadWrite(target);
    const std::vector<std::byte> chunk(20481, std::byte{7});
    try {
        files.writeAt(file, 1, chunk);
    } catch (const trelvane::Failure& failure) {
        std::exit(failure.description() == "File too large" ? 0 : 1);
    }
    std::exit(1);
}

TEST(PosixClipFiles, AWritePastTheFileSizeLimitFailsInsteadOfEndingTheProgram) {
    const mci::testing::TempDir dir;
    // In a child process: the limit and the signal's handling are the process's.
    EXPECT_EXIT(writePastTheSizeLimit(dir.path() + "/clip.vob"), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace trelvane::clip::testing
