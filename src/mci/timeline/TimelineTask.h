#pragma once

#include <future>
#include <memory>
#include <optional>
#include <string>

#include "mci/timeline/PackReader.h"
#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// Builds the timeline of a file on a thread of its own. From a hard disk or
// a disc the index costs a few dozen seeks and more, which must delay neither
// the open nor the first picture: the owner asks for the result only once it
// needs it, and by then it is usually there.
class TimelineTask {
public:
    struct Built {
        std::unique_ptr<PackReader> reader;  // kept open for the seeks
        Timeline timeline;
    };

    explicit TimelineTask(const std::string& path);
    // Calls off a build still running; returns once its thread has ended.
    ~TimelineTask();
    TimelineTask(const TimelineTask&) = delete;
    TimelineTask& operator=(const TimelineTask&) = delete;

    // Whether take() would return without waiting.
    bool ready() const;
    // Waits for the build, and hands over its result: nullopt for a file
    // without usable clocks, one that could not be read, or a build that
    // threw. Once only.
    std::optional<Built> take();

private:
    std::unique_ptr<PackReader> m_reader;
    std::future<std::optional<Timeline>> m_timeline;
};

}  // namespace trelvane::mci::timeline
