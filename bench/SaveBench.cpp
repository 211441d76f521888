// Save throughput: the program's copy of a clip (one 20481-byte chunk per
// 20480 bytes, with its progress bar update and event-loop turn per chunk)
// against dd copying the same range with the same block size, both from a
// source in the page cache into a new file beside it.
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

// Each copy starts with no dirty pages left by the one before: otherwise
// the kernel makes whoever writes next wait for that writeback, and the
// order of the contenders decides the figures.
template <typename F>
double seconds(F&& work) {
    ::sync();
    const auto before = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
}

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
    const auto copyWith = [&](trelvane::clip::CopyHost& copyHost) {
        ::unlink(ours.c_str());
        trelvane::clip::ClipTarget target(files, ours);
        trelvane::clip::ClipCopy copy(files, copyHost);
        return seconds([&] {
            copy.run(source, target, begin, end);
            copy.close();
        });
    };
    // Each contender runs in turn, several rounds, and keeps its best time.
    // Who goes first changes from round to round: the first copy after the
    // last one's file is removed has been seen to run up to 5 % slower.
    double oursSeconds = 1e9;
    double bareSeconds = 1e9;
    double ddSeconds = 1e9;
    const std::function<void()> contenders[] = {
        [&] { oursSeconds = std::min(oursSeconds, copyWith(host)); },
        [&] { bareSeconds = std::min(bareSeconds, copyWith(bare)); },
        [&] {
            ::unlink(theirs.c_str());
            ddSeconds = std::min(ddSeconds, seconds([&] { runOrExit(dd); }));
        },
    };
    for (int round = 0; round < kRounds; ++round) {
        for (int turn = 0; turn < 3; ++turn) {
            contenders[(round + turn) % 3]();
        }
    }

    const double mb = bytes / 1e6;
    std::printf("save of %.0f MB: %.0f MB/s; dd over the same range: %.0f MB/s; ratio %.2f\n", mb,
                mb / oursSeconds, mb / ddSeconds, ddSeconds / oursSeconds);
    std::printf("the copy alone, without the window: %.0f MB/s (ratio %.2f)\n", mb / bareSeconds,
                ddSeconds / bareSeconds);
    std::fflush(stdout);
    for (const std::string& path : {source, ours, theirs}) {
        ::unlink(path.c_str());
    }
    program.toolkit().endProgram();
}
