#pragma once

#include <memory>

#include "mci/PlayerDevice.h"

namespace trelvane::mci {

class PlayerFactory {
public:
    virtual ~PlayerFactory() = default;
    virtual std::unique_ptr<PlayerDevice> createPlayer() = 0;
};

}  // namespace trelvane::mci
