#pragma once

#include <atomic>
#include <functional>
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

    // `whenBuilt`, if given, is called on the build's thread once ready()
    // holds; it must only signal the owner's thread.
    explicit TimelineTask(const std::string& path, std::function<void()> whenBuilt = {});
    // Reads through the movie at `path`, already open, sharing what its other
    // readers learnt of its unreadable places, and teaching them what it learns.
    TimelineTask(std::shared_ptr<const MovieReader> movie, const std::string& path,
                 std::function<void()> whenBuilt = {});
    // Calls off a build still running; returns once its thread has ended.
    ~TimelineTask();
    TimelineTask(const TimelineTask&) = delete;
    TimelineTask& operator=(const TimelineTask&) = delete;

    // Whether take() would return without waiting (but for the moment the
    // build's thread takes to hand the result over).
    bool ready() const;
    // Waits for the build, and hands over its result: nullopt for a file
    // without usable clocks, one that could not be read, or a build that
    // threw. Once only.
    std::optional<Built> take();

private:
    std::unique_ptr<PackReader> m_reader;
    std::atomic<bool> m_built = false;
    std::future<std::optional<Timeline>> m_timeline;
};

}  // namespace trelvane::mci::timeline
