#include "mci/timeline/TimelineTask.h"

#include "mci/timeline/TimelineBuilder.h"

#include <chrono>

namespace trelvane::mci::timeline {

namespace {

std::shared_ptr<const MovieReader> openMovie(const std::string& path) {
    auto movie = std::make_shared<MovieReader>();
    return movie->open(path) ? movie : nullptr;
}

}  // namespace

TimelineTask::TimelineTask(const std::string& path) : TimelineTask(openMovie(path)) {}

TimelineTask::TimelineTask(std::shared_ptr<const MovieReader> movie)
    : m_reader(std::make_unique<PackReader>()),
      m_timeline(std::async(std::launch::async,
                            [reader = m_reader.get(), movie]() -> std::optional<Timeline> {
                                if (!reader->open(movie)) {
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
    auto timeline = m_timeline.get();
    if (!timeline) {
        return std::nullopt;
    }
    return Built{std::move(m_reader), std::move(*timeline)};
}

}  // namespace trelvane::mci::timeline
