#include "mci/Device.h"

namespace trelvane::mci {

std::string_view modeWord(Mode mode) {
    switch (mode) {
        case Mode::Stopped:
            return "stopped";
        case Mode::Playing:
            return "playing";
        case Mode::Paused:
            return "paused";
        case Mode::NotReady:
            break;
    }
    return "not ready";
}

Status Device::open(const OpenRequest& request) {
    const Status status = m_player->open(request);
    if (status == status::Ok) {
        m_mode = Mode::Stopped;
    }
    return status;
}

Status Device::play(std::optional<std::int64_t> from, std::optional<std::int64_t> to) {
    noticeEnd();
    if (!isPlayRange(from, to)) {
        return status::OutOfRange;
    }
    // The end point goes first: an end left over from an earlier play could
    // lie before `from` and turn the seek into a jump past the end.
    if (const Status status = m_player->setEndMs(to); status != status::Ok) {
        return status;
    }
    if (from) {
        if (const Status status = m_player->seek(*from); status != status::Ok) {
            return status;
        }
    }
    if (const Status status = m_player->setPaused(false); status != status::Ok) {
        return status;
    }
    m_mode = Mode::Playing;
    return status::Ok;
}

bool Device::isPlayRange(std::optional<std::int64_t> from, std::optional<std::int64_t> to) {
    if (from && !inRange(*from)) {
        return false;
    }
    return !to || (inRange(*to) && *to >= from.value_or(m_player->positionMs()));
}

Status Device::pause() {
    noticeEnd();
    if (m_mode != Mode::Playing) {
        return status::Ok;
    }
    const Status status = m_player->setPaused(true);
    if (status == status::Ok) {
        m_mode = Mode::Paused;
    }
    return status;
}

Status Device::resume() {
    noticeEnd();
    if (m_mode != Mode::Paused) {
        return status::Ok;
    }
    const Status status = m_player->setPaused(false);
    if (status == status::Ok) {
        m_mode = Mode::Playing;
    }
    return status;
}

Status Device::stop() {
    if (const Status status = m_player->setPaused(true); status != status::Ok) {
        return status;
    }
    m_mode = Mode::Stopped;
    return m_player->setEndMs(std::nullopt);
}

Status Device::seek(std::int64_t ms) {
    if (!inRange(ms)) {
        return status::OutOfRange;
    }
    if (const Status status = m_player->setPaused(true); status != status::Ok) {
        return status;
    }
    m_mode = Mode::Stopped;
    // Forget any end point, for the same reason as in play().
    if (const Status status = m_player->setEndMs(std::nullopt); status != status::Ok) {
        return status;
    }
    return m_player->seek(ms);
}

Mode Device::mode() {
    noticeEnd();
    return m_mode;
}

void Device::noticeEnd() {
    if (m_mode == Mode::Playing && m_player->reachedEnd()) {
        // Pause the player too, so that a stopped device has a paused player
        // however it came to stop.
        m_player->setPaused(true);
        m_mode = Mode::Stopped;
    }
}

}  // namespace trelvane::mci
