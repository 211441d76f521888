// Save throughput: the program's copy of a clip (one 20481-byte chunk per
// 20480 bytes, with its progress bar update and event-loop turn per chunk)
// against dd copying the same range with the same block size, both from a
// source in the page cache into a new file beside it.
//
// A save ends with a sync of the new file, which dd does not do: its time is
// the disk's, not the copy's, and folded into the copy it would make the
// program look slower than dd for what dd never waits for. So the copy is
// timed up to the sync and compared with dd alone; the whole save, its sync
// included, is timed as well and compared with dd followed by the same sync
// of dd's file.
//
// usage: save_bench DIR [MEGABYTES]   (needs an X display for the window)

#include <QApplication>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/Program.h"
#include "clip/ByteRange.h"
#include "clip/ClipCopy.h"
#include "clip/PosixClipFiles.h"
#include "ui/FormCopyHost.h"

namespace {

constexpr std::int32_t kMovieSeconds = 1000;
constexpr int kRounds = 12;

// The same copy with nothing around it, to show the window's share.
struct BareHost : trelvane::clip::CopyHost {
    std::int32_t movieLengthInSec() override { return kMovieSeconds; }
    void setProgressMaximum(float) override {}
    float progressValue() override { return m_value; }
    void setProgressValue(float value) override { m_value = value; }
    void yield() override {}
    float m_value = 0;
};

// A figure from a command that failed would pass for a fast copy.
void runOrExit(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

void writeSource(const std::string& path, long megabytes) {
    std::vector<unsigned char> block(1 << 20);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (long m = 0; m < megabytes; ++m) {
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = static_cast<unsigned char>((m * 7 + i * 31) & 0xff);
        }
        if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) {
            std::perror("write");
            std::exit(1);
        }
    }
    ::close(fd);
    // Read once so that both copies find it in the page cache.
    runOrExit("cat '" + path + "' > /dev/null");
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// How long a copy took up to its final sync, and with it.
struct Times {
    double copy;
    double synced;
};

// Each copy starts with no dirty pages left by the one before: otherwise
// the kernel makes whoever writes next wait for that writeback, and the
// order of the contenders decides the figures. `copy` writes, `sync` makes
// what it wrote durable.
template <typename Copy, typename Sync>
Times timed(Copy&& copy, Sync&& sync) {
    ::sync();
    const auto before = Clock::now();
    copy();
    const double copied = secondsSince(before);
    sync();
    return Times{copied, secondsSince(before)};
}

void syncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    ::close(fd);
}

// The best of each figure over the rounds.
struct Best {
    void add(const Times& times) {
        copy = std::min(copy, times.copy);
        synced = std::min(synced, times.synced);
    }
    double copy = 1e9;
    double synced = 1e9;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: save_bench DIR [MEGABYTES]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const long megabytes = argc > 2 ? std::atol(argv[2]) : 256;
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication app(argc, argv);
    trelvane::app::Program program(trelvane::mci::PlayerOutputs{"null", "null"});
    program.show();

    const std::string source = dir + "/save-bench-source.vob";
    const std::string ours = dir + "/save-bench-ours.vob";
    const std::string theirs = dir + "/save-bench-dd.vob";
    writeSource(source, megabytes);
    ::unlink(ours.c_str());
    ::unlink(theirs.c_str());

    // Marks 1 and 90 % of the movie: most of the file.
    const std::int32_t begin = 1;
    const std::int32_t end = kMovieSeconds * 9 / 10;
    const std::int32_t rate =
        trelvane::clip::byteRate(static_cast<std::int32_t>(megabytes << 20), kMovieSeconds);
    const long start = static_cast<long>(rate) * begin;
    const long bytes = ((static_cast<long>(rate) * end - start) / 20480 + 1) * 20480 + 1;
    const std::string dd =
        "dd if='" + source + "' of='" + theirs +
        "' bs=20480 iflag=skip_bytes,count_bytes skip=" + std::to_string(start - 1) +
        " count=" + std::to_string(bytes) + " status=none";

    trelvane::clip::PosixClipFiles files;
    trelvane::ui::FormCopyHost host(program.toolkit(), [] { return kMovieSeconds; });
    BareHost bare;
    // As the save button does it: the copy, then the target's commit, which
    // syncs it, then the close.
    const auto copyWith = [&](trelvane::clip::CopyHost& copyHost) {
        ::unlink(ours.c_str());
        trelvane::clip::ClipTarget target(files, ours);
        trelvane::clip::ClipCopy copy(files, copyHost);
        const Times times =
            timed([&] { copy.run(source, target, begin, end); }, [&] { target.commit(); });
        copy.close();
        return times;
    };
    // Each contender runs in turn, several rounds, and keeps its best time.
    // Who goes first changes from round to round: the first copy after the
    // last one's file is removed has been seen to run up to 5 % slower.
    Best oursBest;
    Best bareBest;
    Best ddBest;
    const std::function<void()> contenders[] = {
        [&] { oursBest.add(copyWith(host)); },
        [&] { bareBest.add(copyWith(bare)); },
        [&] {
            ::unlink(theirs.c_str());
            ddBest.add(timed([&] { runOrExit(dd); }, [&] { syncFile(theirs); }));
        },
    };
    for (int round = 0; round < kRounds; ++round) {
        for (int turn = 0; turn < 3; ++turn) {
            contenders[(round + turn) % 3]();
        }
    }

    const double mb = bytes / 1e6;
    std::printf(
        "save of %.0f MB up to its final sync: %.0f MB/s; dd over the same range: %.0f MB/s; "
        "ratio %.2f (goal: at least 0.95)\n",
        mb, mb / oursBest.copy, mb / ddBest.copy, ddBest.copy / oursBest.copy);
    std::printf("the copy alone, without the window: %.0f MB/s (ratio %.2f)\n", mb / bareBest.copy,
                ddBest.copy / bareBest.copy);
    std::printf(
        "the whole save, its final sync included: %.0f MB/s; dd, then the same sync: "
        "%.0f MB/s; ratio %.2f (the disk's pace; no goal)\n",
        mb / oursBest.synced, mb / ddBest.synced, ddBest.synced / oursBest.synced);
    std::fflush(stdout);
    for (const std::string& path : {source, ours, theirs}) {
        ::unlink(path.c_str());
    }
    program.toolkit().endProgram();
}
