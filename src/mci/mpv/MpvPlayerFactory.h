#pragma once

#include <functional>
#include <utility>

#include "mci/PlayerFactory.h"
#include "mci/mpv/PlayerOutputs.h"

namespace trelvane::mci {

// Players on the given outputs. A wake-up, when given, is handed to every
// player (see MpvPlayer); it may be called on any thread.
class MpvPlayerFactory : public PlayerFactory {
public:
    explicit MpvPlayerFactory(PlayerOutputs outputs, std::function<void()> wakeUp = {})
        : m_outputs(std::move(outputs)), m_wakeUp(std::move(wakeUp)) {}
    std::unique_ptr<PlayerDevice> createPlayer() override;

private:
    PlayerOutputs m_outputs;
    std::function<void()> m_wakeUp;
};

}  // namespace trelvane::mci
