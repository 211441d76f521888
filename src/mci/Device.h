#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "mci/PlayerDevice.h"
#include "mci/Status.h"

namespace trelvane::mci {

enum class Mode { NotReady, Stopped, Playing, Paused };

std::string_view modeWord(Mode mode);

// One opened file: its player and the mode the service reports for it. The
// player has no notion of a mode, so every transition is decided here and the
// player only hears about pausing, seeking and where to end. Invariant once
// open: the player runs exactly when the mode is Playing. Arguments are
// checked against the length before the player sees them.
class Device {
public:
    explicit Device(std::unique_ptr<PlayerDevice> player) : m_player(std::move(player)) {}

    Status open(const OpenRequest& request);

    // Without `from`, playback continues from the current position.
    Status play(std::optional<std::int64_t> from, std::optional<std::int64_t> to);
    Status pause();
    Status resume();
    Status stop();
    Status seek(std::int64_t ms);

    std::int64_t lengthMs() { return m_player->lengthMs(); }
    std::int64_t positionMs() { return m_player->positionMs(); }
    Mode mode();

private:
    // Playback that ran to its end stops by itself; the mode catches up here.
    void noticeEnd();
    // Both ends within the movie, and the end not before where playing starts.
    bool isPlayRange(std::optional<std::int64_t> from, std::optional<std::int64_t> to);
    bool inRange(std::int64_t ms) { return ms >= 0 && ms <= m_player->lengthMs(); }

    std::unique_ptr<PlayerDevice> m_player;
    Mode m_mode = Mode::NotReady;
};

}  // namespace trelvane::mci
