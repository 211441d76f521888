#include "mci/mpv/MpvPlayerFactory.h"

#include "mci/mpv/MpvPlayer.h"

namespace trelvane::mci {

std::unique_ptr<PlayerDevice> MpvPlayerFactory::createPlayer() {
    return std::make_unique<MpvPlayer>(m_outputs, m_wakeUp, m_host);
}

}  // namespace trelvane::mci
