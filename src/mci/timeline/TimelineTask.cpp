#include "mci/timeline/TimelineTask.h"

#include "mci/timeline/TimelineBuilder.h"

#include <chrono>

namespace trelvane::mci::timeline {

TimelineTask::TimelineTask(const std::string& path)
    : m_reader(std::make_unique<PackReader>()),
      m_timeline(std::async(std::launch::async,
                            [reader = m_reader.get(), path]() -> std::optional<Timeline> {
                                if (!reader->open(path)) {
                                    return std::nullopt;
                                }
                                return TimelineBuilder(*reader).build();
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
    return !m_timeline.valid() ||
           m_timeline.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
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
