// The time index's own thread: how it ends when it is called off in the
// middle of a read, and when it throws. Run under the slow-medium shim of
// bench/ (see CMakeLists.txt), which makes every far read of the chosen
// file cost what a disc drive's seek would.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <new>
#include <thread>

#include "SyntheticStream.h"
#include "TempDir.h"
#include "mci/timeline/TimelineTask.h"

namespace {

// While armed, every allocation off the test's own thread fails, as when
// memory runs out on the index's thread. The deletes below free what malloc
// gave, so that a sanitizer's own delete never meets these blocks.
std::atomic<bool> g_othersFail{false};
std::thread::id g_testThread;

}  // namespace

void* operator new(std::size_t size) {
    if (g_othersFail.load() && std::this_thread::get_id() != g_testThread) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

// The library's temporary buffers (a stable sort's) ask without throwing.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (g_othersFail.load() && std::this_thread::get_id() != g_testThread) {
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace trelvane::mci::timeline {
namespace {

using mci::testing::SyntheticStream;
using mci::testing::TempDir;

using Seeks = long (*)();

// Twenty stretches of 10 s whose stamps all start again at 0.5 s: 10 MB
// that takes the index many far reads.
std::string writeJoined(const std::string& path) {
    SyntheticStream stream;
    for (int part = 0; part < 20; ++part) {
        stream.addRun(250, 0.1, 0.5);
    }
    stream.save(path);
    return path;
}

TEST(TimelineTask, ABuildThatThrowsLeavesThePlayerOnItsOwnClock) {
    TempDir dir;
    const std::string path = writeJoined(dir.path() + "/joined.vob");
    g_testThread = std::this_thread::get_id();
    g_othersFail = true;
    TimelineTask task(path);
    const auto built = task.take();
    g_othersFail = false;
    EXPECT_FALSE(built);
}

// A movie closed while its index waits on a slow drive: the close waits for
// the read under way, never for the rest of the build.
TEST(TimelineTask, ADropInTheMiddleOfAReadEndsWithThatRead) {
    const auto seeks = reinterpret_cast<Seeks>(dlsym(RTLD_DEFAULT, "slowMediumSeeks"));
    ASSERT_NE(seeks, nullptr) << "needs LD_PRELOAD of bench's slow-medium shim";
    TempDir dir;
    const std::string path = writeJoined(dir.path() + "/slow.vob");
    constexpr int kSeekMs = 400;
    ::setenv("TRELVANE_SLOW_FILES", path.c_str(), 1);
    ::setenv("TRELVANE_SLOW_SEEK_MS", std::to_string(kSeekMs).c_str(), 1);

    auto task = std::make_unique<TimelineTask>(path);
    // The shim answers only between reads: once it has counted the first
    // far read, the build is on to its next one.
    const auto start = seeks();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (seeks() == start && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    ASSERT_GT(seeks(), start) << "the build never read the file";
    std::this_thread::sleep_for(std::chrono::milliseconds(kSeekMs / 4));  // into the next read
    ASSERT_FALSE(task->ready()) << "the build ended before it could be called off";
    auto dropped = std::async(std::launch::async, [&task] { task.reset(); });
    // The read under way and one more at most; the whole build costs
    // dozens of them.
    EXPECT_EQ(dropped.wait_for(std::chrono::milliseconds(3 * kSeekMs)), std::future_status::ready)
        << "the drop waited for more than the read under way";
    dropped.wait();
    ::unsetenv("TRELVANE_SLOW_FILES");
}

}  // namespace
}  // namespace trelvane::mci::timeline
