#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "FaultyClipFiles.h"
#include "PatternFiles.h"
#include "TempDir.h"
#include "clip/OpenFile.h"
#include "clip/PosixClipFiles.h"
#include "clip/StagedReplacement.h"
#include "core/Failure.h"

namespace trelvane::clip::testing {
namespace {

namespace fs = std::filesystem;

class StagedReplacementTest : public ::testing::Test {
protected:
    StagedReplacementTest() {
        writeBytes(m_old, m_oldBytes);
        ::chmod(m_old.c_str(), 0640);
    }

    void write(const std::string& path, const Bytes& bytes) {
        OpenFile file = OpenFile::forReadWrite(m_files, path);
        file.writeAt(1, bytes);
    }

    std::size_t filesInDir() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_dir.path()), {}));
    }

    mci::testing::TempDir m_dir;
    std::string m_old = m_dir.path() + "/old.vob";
    Bytes m_oldBytes = Bytes(5'000, std::byte{0x5a});
    Bytes m_clip = patternFrom(1, 3'000, 10'000);
    PosixClipFiles m_posix;
    FaultyClipFiles m_files{m_posix};
};

TEST_F(StagedReplacementTest, TheOldFileGivesWayOnlyToACompleteCopy) {
    {
        StagedReplacement staged(m_files, m_old);
        EXPECT_NE(staged.path(), m_old);
        EXPECT_EQ(fs::path(staged.path()).parent_path(), fs::path(m_dir.path()));
        write(staged.path(), m_clip);
        EXPECT_EQ(readBytes(m_old), m_oldBytes);  // untouched while the copy runs
        staged.commit();
    }
    EXPECT_EQ(readBytes(m_old), m_clip);
    EXPECT_EQ(fs::status(m_old).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(StagedReplacementTest, AnUnfinishedCopyLeavesTheOldFileAndNoTrace) {
    {
        StagedReplacement staged(m_files, m_old);
        write(staged.path(), m_clip);
    }
    EXPECT_EQ(readBytes(m_old), m_oldBytes);
    EXPECT_EQ(filesInDir(), 1u);

    // A rename that fails keeps the old file too.
    {
        StagedReplacement staged(m_files, m_old);
        write(staged.path(), m_clip);
        m_files.failCall(FileCall::Replace, 1, EXDEV);
        EXPECT_THROW(staged.commit(), Failure);
    }
    EXPECT_EQ(readBytes(m_old), m_oldBytes);
    EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(StagedReplacementTest, ALinkKeepsLeadingToTheReplacedFile) {
    const std::string link = m_dir.path() + "/link.vob";
    fs::create_symlink(m_old, link);
    {
        StagedReplacement staged(m_files, link);
        write(staged.path(), m_clip);
        staged.commit();
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(m_old), m_clip);
}

TEST_F(StagedReplacementTest, WithNoRoomBesideItTheOldFileIsWrittenInPlace) {
    m_files.failCall(FileCall::CreateBeside, 1, EACCES);
    StagedReplacement staged(m_files, m_old);
    EXPECT_EQ(staged.path(), m_old);
    EXPECT_TRUE(readBytes(m_old).empty());
    write(staged.path(), m_clip);
    staged.commit();
    EXPECT_EQ(readBytes(m_old), m_clip);
    EXPECT_EQ(m_files.calls(FileCall::Replace), 0);
}

}  // namespace
}  // namespace trelvane::clip::testing
