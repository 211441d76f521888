#pragma once

#include <utility>

#include "mci/PlayerFactory.h"
#include "mci/mpv/PlayerOutputs.h"

namespace trelvane::mci {

class MpvPlayerFactory : public PlayerFactory {
public:
    explicit MpvPlayerFactory(PlayerOutputs outputs) : m_outputs(std::move(outputs)) {}
    std::unique_ptr<PlayerDevice> createPlayer() override;

private:
    PlayerOutputs m_outputs;
};

}  // namespace trelvane::mci
