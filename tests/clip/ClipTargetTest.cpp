#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "FaultyClipFiles.h"
#include "PatternFiles.h"
#include "TempDir.h"
#include "clip/ClipTarget.h"
#include "clip/PosixClipFiles.h"
#include "core/Failure.h"
#include "core/ProgramEnd.h"

namespace trelvane::clip::testing {
namespace {

namespace fs = std::filesystem;
using trelvane::testing::inChild;

class ClipTargetTest : public ::testing::Test {
protected:
    ClipTargetTest() { makeOld(m_old); }

    void makeOld(const std::string& path) const {
        writeBytes(path, m_oldBytes);
        ::chmod(path.c_str(), 0640);
    }

    std::vector<std::string> names(const std::string& folder) const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder)) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    mci::testing::TempDir m_dir;
    std::string m_old = m_dir.path() + "/old.vob";
    Bytes m_oldBytes = Bytes(5'000, std::byte{0x5a});
    Bytes m_clip = patternFrom(1, 3'000, 10'000);
    const std::vector<std::string> m_justOld{"old.vob"};
};

TEST_F(ClipTargetTest, AnOwnFileGivesWayToAStagedClipOnlyOnceTheClipIsWhole) {
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "nameless" : "named");
        makeOld(m_old);
        PosixClipFiles files(unnamed);
        ClipTarget target(files, m_old);
        target.replaceExisting();
        ASSERT_TRUE(target.staged());
        target.open().writeAt(1, m_clip);
        EXPECT_EQ(readBytes(m_old), m_oldBytes);
        EXPECT_EQ(names(m_dir.path()).size(), unnamed ? 1u : 2u);
        target.commit();
        target.close();
        EXPECT_EQ(readBytes(m_old), m_clip);
        EXPECT_EQ(fs::status(m_old).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        EXPECT_EQ(names(m_dir.path()), m_justOld);
    }
}

// The staged clip's hidden name must fit beside a target whose own name is
// near the file system's limit of 255 bytes.
TEST_F(ClipTargetTest, ALongNameIsReplacedThroughTheStagedClip) {
    const std::string path = m_dir.path() + "/" + std::string(246, 'n') + ".vob";
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "nameless" : "named");
        makeOld(path);
        PosixClipFiles files(unnamed);
        ClipTarget target(files, path);
        target.replaceExisting();
        ASSERT_TRUE(target.staged());
        target.open().writeAt(1, m_clip);
        target.commit();
        EXPECT_EQ(readBytes(path), m_clip);
        EXPECT_EQ(names(m_dir.path()),
                  (std::vector<std::string>{fs::path(path).filename(), "old.vob"}));
    }
}

TEST_F(ClipTargetTest, AStagedClipThatIsNotWholeLeavesTheOldFileAndNothingBeside) {
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "nameless" : "named");
        PosixClipFiles posix(unnamed);
        FaultyClipFiles files(posix);
        {
            ClipTarget target(files, m_old);
            target.replaceExisting();
            target.open().writeAt(1, m_clip);
        }
        EXPECT_EQ(names(m_dir.path()), m_justOld);
        {
            ClipTarget target(files, m_old);
            target.replaceExisting();
            target.open().writeAt(1, m_clip);
            files.failCall(FileCall::PutInPlace, 1, EXDEV);
            EXPECT_THROW(target.commit(), Failure);
        }
        EXPECT_EQ(readBytes(m_old), m_oldBytes);
        EXPECT_EQ(names(m_dir.path()), m_justOld);
        EXPECT_EQ(files.openHandles(), 0u);
        // The program ends at once, with the staged clip half written.
        EXPECT_EQ(inChild([&] {
                      ClipTarget target(posix, m_old);
                      target.replaceExisting();
                      target.open().writeAt(1, m_clip);
                      programEnd::removeLeftovers();
                      ::_exit(7);
                      return 0;
                  }),
                  7);
        EXPECT_EQ(readBytes(m_old), m_oldBytes);
        EXPECT_EQ(names(m_dir.path()), m_justOld);
    }
}

TEST_F(ClipTargetTest, ALinkKeepsLeadingToTheReplacedFile) {
    const std::string link = m_dir.path() + "/link.vob";
    fs::create_symlink(m_old, link);
    PosixClipFiles files;
    ClipTarget target(files, link);
    target.replaceExisting();
    EXPECT_TRUE(target.staged());
    target.open().writeAt(1, m_clip);
    target.commit();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(m_old), m_clip);
}

// Renaming over these would drop another name, the owner, an attribute, or
// would not be allowed at all, so the old file is written in place.
TEST_F(ClipTargetTest, WhereARenameWouldChangeSomethingTheFileIsEmptiedAndWrittenInPlace) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a file to another user";
    }
    const std::string other = m_dir.path() + "/other.vob";
    fs::create_hard_link(m_old, other);
    PosixClipFiles files;
    const auto writeInPlace = [&](const std::string& path) {
        ClipTarget target(files, path);
        target.replaceExisting();
        EXPECT_FALSE(target.staged());
        EXPECT_TRUE(readBytes(path).empty());  // emptied on the user's Yes
        target.open().writeAt(1, m_clip);
        target.commit();
    };
    writeInPlace(m_old);
    EXPECT_EQ(readBytes(m_old), m_clip);
    EXPECT_EQ(readBytes(other), m_clip);
    fs::remove(other);

    makeOld(m_old);
    ASSERT_EQ(::chown(m_old.c_str(), trelvane::testing::kNobody, trelvane::testing::kNogroup), 0);
    writeInPlace(m_old);
    struct stat status {};
    ASSERT_EQ(::stat(m_old.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, trelvane::testing::kNobody);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(readBytes(m_old), m_clip);

    const std::string tagged = m_dir.path() + "/tagged.vob";
    makeOld(tagged);
    if (::setxattr(tagged.c_str(), "user.origin", "disc", 4, 0) == 0) {
        writeInPlace(tagged);
        char value[8] = {};
        EXPECT_EQ(::getxattr(tagged.c_str(), "user.origin", value, sizeof value), 4);
        EXPECT_EQ(readBytes(tagged), m_clip);
    }
}

// /tmp is such a folder: a world-writable file of another owner may be
// written there, but not renamed over.
TEST_F(ClipTargetTest, InAStickyFolderAnotherOwnersWritableFileIsWrittenInPlace) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to save as another user";
    }
    const std::string shared = m_dir.path() + "/shared";
    fs::create_directory(shared);
    ::chmod(m_dir.path().c_str(), 0755);
    ::chmod(shared.c_str(), 01777);
    const std::string path = shared + "/old.vob";
    makeOld(path);
    ::chmod(path.c_str(), 0666);
    const int result = inChild([&] {
        if (!trelvane::testing::becomeUser(trelvane::testing::kNobody,
                                           trelvane::testing::kNogroup)) {
            return 2;
        }
        PosixClipFiles files;
        ClipTarget target(files, path);
        target.replaceExisting();
        if (target.staged()) {
            return 3;
        }
        target.open().writeAt(1, m_clip);
        target.commit();
        return 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(path), m_clip);
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 0u);
    EXPECT_EQ(status.st_mode & 07777, 0666u);
}

}  // namespace
}  // namespace trelvane::clip::testing
