#include "mci/timeline/TimelineTask.h"

#include "mci/timeline/IfoTimeline.h"
#include "mci/timeline/TimelineBuilder.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>

namespace trelvane::mci::timeline {
namespace {

std::shared_ptr<const MovieReader> openMovie(const std::string& path) {
    auto movie = std::make_shared<MovieReader>();
    return movie->open(path) ? movie : nullptr;
}

// The index's reads wait for the disk or drive to have nothing else to do:
// the player's reads come first, so that playback beside the index does not
// stall. The kernel keeps the priority per thread; a scheduler without
// priorities ignores it, and so does this (an answer of no is no fault).
void readOnlyWhenIdle() {
    constexpr int kWhoThisThread = 1;  // IOPRIO_WHO_PROCESS, id 0: the caller
    constexpr int kIdleClass = 3;      // IOPRIO_CLASS_IDLE
    constexpr int kClassShift = 13;
    [[maybe_unused]] const long set =
        ::syscall(SYS_ioprio_set, kWhoThisThread, 0, kIdleClass << kClassShift);
}

std::optional<Timeline> buildTimeline(PackReader& reader, std::shared_ptr<const MovieReader> movie,
                                      const std::string& path) {
    readOnlyWhenIdle();
    if (!reader.open(std::move(movie))) {
        return std::nullopt;
    }
    // A part of a disc's title set lists its own cells beside it; only
    // without that list, or where it proves wrong, are the clocks searched.
    if (auto fromIfo = ifoTimeline(path, reader)) {
        return fromIfo;
    }
    return TimelineBuilder(reader).build();
}

}  // namespace

TimelineTask::TimelineTask(const std::string& path, std::function<void()> whenBuilt)
    : TimelineTask(openMovie(path), path, std::move(whenBuilt)) {}

TimelineTask::TimelineTask(std::shared_ptr<const MovieReader> movie, const std::string& path,
                           std::function<void()> whenBuilt)
    : m_reader(std::make_unique<PackReader>()),
      m_timeline(std::async(std::launch::async,
                            [this, reader = m_reader.get(), movie, path,
                             whenBuilt = std::move(whenBuilt)]() -> std::optional<Timeline> {
                                // Told however the build ends, even by a throw.
                                struct Tell {
                                    std::atomic<bool>& built;
                                    const std::function<void()>& whenBuilt;
                                    ~Tell() {
                                        built.store(true, std::memory_order_release);
                                        if (whenBuilt) {
                                            whenBuilt();
                                        }
                                    }
                                } tell{m_built, whenBuilt};
                                return buildTimeline(*reader, movie, path);
                            })) {}

TimelineTask::~TimelineTask() {
    if (m_timeline.valid()) {
        // Every look of the builder then comes back empty at once, so it
        // ends within one read; the future's own end waits for that.
        m_reader->stop();
        m_timeline.wait();
    }
}

bool TimelineTask::ready() const {
    return !m_timeline.valid() || m_built.load(std::memory_order_acquire);
}

std::optional<TimelineTask::Built> TimelineTask::take() {
    if (!m_timeline.valid()) {
        return std::nullopt;
    }
    std::optional<Timeline> timeline;
    try {
        timeline = m_timeline.get();
    } catch (...) {
        // A build that failed in any way (memory, a thread of the system's
        // that would not start) leaves the player on its own clock, as a
        // file without usable clocks does.
    }
    if (!timeline) {
        return std::nullopt;
    }
    return Built{std::move(m_reader), std::move(*timeline)};
}

}  // namespace trelvane::mci::timeline
