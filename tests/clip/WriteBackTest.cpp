// Run under the FailingWriteBack shim (see CMakeLists.txt).
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "PatternFiles.h"
#include "TempDir.h"
#include "clip/ClipTarget.h"
#include "clip/PosixClipFiles.h"
#include "core/Failure.h"

namespace trelvane::clip::testing {
namespace {

class WriteBack : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(dlsym(RTLD_DEFAULT, "trelvaneFailingWriteBack"), nullptr)
            << "needs LD_PRELOAD of the failing write-back shim";
    }
    void TearDown() override {
        ::unsetenv("TRELVANE_FAIL_FSYNC");
        ::unsetenv("TRELVANE_FAIL_CLOSE");
    }

    mci::testing::TempDir m_dir;
    Bytes m_clip = patternFrom(1, 3'000, 10'000);
};

// Where the system reports the loss of a written clip only at its sync or
// its close, the clip is not whole, and saying so is commit()'s to do.
TEST_F(WriteBack, ALossReportedOnlyAtTheSyncOrTheCloseFailsTheCommit) {
    for (const char* setting : {"TRELVANE_FAIL_FSYNC", "TRELVANE_FAIL_CLOSE"}) {
        for (const bool existing : {false, true}) {
            SCOPED_TRACE(std::string(setting) + (existing ? ", staged over an old file" : ", new"));
            // A folder of its own, whose every file fails: a staged clip has
            // no name of the target's while it is written.
            const std::string folder =
                m_dir.path() + "/" + setting + (existing ? "-staged" : "-new");
            ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
            const std::string path = folder + "/clip.vob";
            if (existing) {
                writeBytes(path, Bytes(5'000, std::byte{0x5a}));
            }
            ::setenv(setting, (folder + "/*").c_str(), 1);
            PosixClipFiles files;
            ClipTarget target(files, path);
            if (existing) {
                target.replaceExisting();
                ASSERT_TRUE(target.staged());
            }
            target.open().writeAt(1, m_clip);
            EXPECT_THROW(target.commit(), Failure);
            ::unsetenv(setting);
        }
    }
}

TEST_F(WriteBack, WithoutALossTheCommitKeepsTheClip) {
    // The shim's globs name nothing here: the same steps succeed.
    PosixClipFiles files;
    const std::string path = m_dir.path() + "/clip.vob";
    ClipTarget target(files, path);
    target.open().writeAt(1, m_clip);
    target.commit();
    EXPECT_EQ(readBytes(path), m_clip);
}

}  // namespace
}  // namespace trelvane::clip::testing
