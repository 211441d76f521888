#pragma once

#include <string>

namespace trelvane::mci {

// Which outputs a player may use. Video outputs are tried in order; the list
// must only name outputs that draw into the parent window when one is given,
// so a failing one never falls back to a window of its own.
struct PlayerOutputs {
    std::string video = "gpu,x11";
    // Empty: the platform's usual audio outputs. Either way a machine without
    // a sound device plays silently instead of failing the open.
    std::string audio;
};

}  // namespace trelvane::mci
