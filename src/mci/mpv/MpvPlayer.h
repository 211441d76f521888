#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "mci/PlayerDevice.h"
#include "mci/WaitHost.h"
#include "mci/mpv/MpvHandle.h"
#include "mci/mpv/PlayerOutputs.h"

namespace trelvane::mci {

// Known here by name only: the time index and its threads stay behind the
// player, out of the way of everything that includes it.
namespace timeline {
class MovieReader;
class TimelineTask;
}  // namespace timeline
class SegmentedPlayback;

// A player for one file on its own player core, drawn into the parent window
// of the open request.
//
// The core is driven synchronously from the owner's thread: every call first
// drops the events queued since the last one, and the calls that must wait
// (open, seek) wait on the core's own event queue with a deadline.
//
// Given a wake-up, the player has the core call it (on the core's threads)
// when events come, and whenever the whole second of the position may have
// changed, so that a caller that sleeps until something happens learns of a
// new second within a frame of it. The wake-up must only signal the owner's
// thread.
//
// Given a host as well, the waits (the open's, a seek's, the time index's)
// are spent in it, woken by the same wake-up, so that a window on the
// owner's thread stays alive meanwhile.
class MpvPlayer : public PlayerDevice {
public:
    explicit MpvPlayer(PlayerOutputs outputs, std::function<void()> wakeUp = {},
                       WaitHost* host = nullptr);
    ~MpvPlayer() override;

    Status open(const OpenRequest& request) override;
    std::int64_t lengthMs() override;
    std::int64_t positionMs() override;
    Status seek(std::int64_t ms) override;
    Status setPaused(bool paused) override;
    Status setEndMs(std::optional<std::int64_t> ms) override;
    bool reachedEnd() override;

    // Writes the picture shown now, as decoded, to an image file (PNG).
    bool savePicture(const std::string& path);

private:
    bool configure(const OpenRequest& request);
    bool installWakeUp();
    Status load(const std::string& path);
    bool hasVideo();
    void waitForPlaybackRestart();
    bool waitForEvent(const std::function<bool(const mpv_event&)>& handle,
                      std::chrono::milliseconds timeout);
    void takeTimeline();
    void takeTimelineIfBuilt();

    PlayerOutputs m_outputs;
    std::function<void()> m_wakeUp;
    WaitHost* m_host;  // null, or used with m_wakeUp
    // The open movie, read by the core and the time index alike; declared
    // before the core so that it outlives the core's reads of it.
    std::shared_ptr<const timeline::MovieReader> m_movie;
    MpvHandle m_mpv;
    std::int64_t m_lengthMs = 0;
    // Where a seek put the stopped movie. The core shows the nearest picture
    // it can; near the end of a file whose video stops before its audio that
    // picture lies before the target, but the movie stands where it was sent.
    std::optional<std::int64_t> m_parkedMs;
    // The timeline of the file, while it is built beside the playback.
    // Until it is there the file plays on the core's own clock, which is
    // right up to the first restart.
    std::unique_ptr<timeline::TimelineTask> m_index;
    std::int64_t m_pendingMs = 0;  // the furthest the core's clock got meanwhile
    // Set for files whose clocks restart; they play on its timeline.
    std::unique_ptr<SegmentedPlayback> m_segmented;
};

}  // namespace trelvane::mci
