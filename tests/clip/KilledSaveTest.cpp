#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "FaultyClipFiles.h"
#include "PatternFiles.h"
#include "RecordingHost.h"
#include "TempDir.h"
#include "clip/ClipCopy.h"
#include "clip/ClipTarget.h"
#include "clip/PosixClipFiles.h"

namespace trelvane::clip::testing {
namespace {

namespace fs = std::filesystem;

// Where the process is killed: after the nth chunk (1 to 5), or at a named
// step of the replacement.
enum class Step { None, Opened, BeforePutInPlace, AfterPutInPlace };

[[noreturn]] void killSelf() {
    ::raise(SIGKILL);
    ::_exit(99);
}

// The real files, with the process killed right at the step asked for.
class KillingFiles : public FaultyClipFiles {
public:
    KillingFiles(ClipFiles& inner, Step at) : FaultyClipFiles(inner), m_at(at) {}

    FileHandle openReplacement(const std::string& path) override {
        const FileHandle file = FaultyClipFiles::openReplacement(path);
        killAt(Step::Opened);
        return file;
    }
    void putInPlace(FileHandle replacement, const std::string& path) override {
        killAt(Step::BeforePutInPlace);
        FaultyClipFiles::putInPlace(replacement, path);
        killAt(Step::AfterPutInPlace);
    }

private:
    void killAt(Step step) const {
        if (m_at == step) {
            killSelf();
        }
    }
    Step m_at;
};

struct KillingHost : RecordingHost {
    int killAfterChunk = 0;
    void yield() override {
        if (++yields == killAfterChunk) {
            killSelf();
        }
    }
};

// A save that replaces a file, killed at any point, leaves either the old
// file as it was or the whole clip, and nothing beside it.
TEST(KilledSave, LeavesTheOldFileOrTheWholeClipAndNothingBeside) {
    mci::testing::TempDir dir;
    const std::string source = dir.path() + "/movie.vob";
    const std::string target = dir.path() + "/old.vob";
    // 2000 bytes a second; marks 10 to 60 copy five chunks from 20000 on.
    writePattern(source, 200'000);
    const Bytes old(70'000, std::byte{0xab});
    const Bytes clip = patternFrom(20'000, 5 * 20'480 + 1, 200'000);
    struct Point {
        const char* name;
        Step step;
        int chunk;
        bool replaced;
    };
    const std::vector<Point> points{
        {"before the copy", Step::Opened, 0, false},
        {"after the first chunk", Step::None, 1, false},
        {"after three chunks", Step::None, 3, false},
        {"after the last chunk", Step::None, 5, false},
        {"just before the rename", Step::BeforePutInPlace, 0, false},
        {"just after the rename", Step::AfterPutInPlace, 0, true},
    };
    for (const Point& point : points) {
        SCOPED_TRACE(point.name);
        writeBytes(target, old);
        const int ended = trelvane::testing::inChild([&] {
            PosixClipFiles posix;
            KillingFiles files(posix, point.step);
            KillingHost host;
            host.movieLength = 100;
            host.killAfterChunk = point.chunk;
            ClipTarget into(files, target);
            into.replaceExisting();
            if (!into.staged()) {
                return 3;
            }
            ClipCopy copy(files, host);
            copy.run(source, into, 10, 60);
            into.commit();
            return 0;
        });
        EXPECT_EQ(ended, 128 + SIGKILL);
        EXPECT_TRUE(readBytes(target) == (point.replaced ? clip : old));
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"movie.vob", "old.vob"}));
    }
}

}  // namespace
}  // namespace trelvane::clip::testing
