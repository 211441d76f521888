#pragma once

#include <functional>
#include <utility>

#include "mci/PlayerFactory.h"
#include "mci/WaitHost.h"
#include "mci/mpv/PlayerOutputs.h"

namespace trelvane::mci {

// Players on the given outputs. A wake-up, when given, is handed to every
// player (see MpvPlayer); it may be called on any thread. So is a host for
// the waits, which must outlive the players; it needs the wake-up.
class MpvPlayerFactory : public PlayerFactory {
public:
    explicit MpvPlayerFactory(PlayerOutputs outputs, std::function<void()> wakeUp = {},
                              WaitHost* host = nullptr)
        : m_outputs(std::move(outputs)), m_wakeUp(std::move(wakeUp)), m_host(host) {}
    std::unique_ptr<PlayerDevice> createPlayer() override;

private:
    PlayerOutputs m_outputs;
    std::function<void()> m_wakeUp;
    WaitHost* m_host;
};

}  // namespace trelvane::mci
