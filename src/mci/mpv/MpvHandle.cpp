#include "mci/mpv/MpvHandle.h"

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include <clocale>
#include <utility>

namespace trelvane::mci {

void useCoreNumberFormat() {
    std::setlocale(LC_NUMERIC, "C");
}

MpvHandle::MpvHandle() : m_handle(mpv_create()) {}

MpvHandle::~MpvHandle() {
    if (m_handle != nullptr) {
        // Once this returns no wake-up runs or will run: the core calls it
        // under the same lock.
        mpv_set_wakeup_callback(m_handle, nullptr, nullptr);
        mpv_terminate_destroy(m_handle);
    }
}

bool MpvHandle::setOption(const char* name, const std::string& value) {
    return valid() && mpv_set_option_string(m_handle, name, value.c_str()) >= 0;
}

bool MpvHandle::setOption(const char* name, long long value) {
    int64_t data = value;
    return valid() && mpv_set_option(m_handle, name, MPV_FORMAT_INT64, &data) >= 0;
}

bool MpvHandle::initialize() {
    return valid() && mpv_initialize(m_handle) >= 0;
}

void MpvHandle::setWakeUp(std::function<void()> wakeUp) {
    if (!valid()) {
        return;
    }
    m_wakeUp = std::move(wakeUp);
    mpv_set_wakeup_callback(m_handle, m_wakeUp ? &MpvHandle::wakeUpFromCore : nullptr, this);
}

void MpvHandle::wakeUpFromCore(void* self) {
    static_cast<MpvHandle*>(self)->m_wakeUp();
}

bool MpvHandle::observe(const char* name, Observed as) {
    const mpv_format format = as == Observed::Fraction ? MPV_FORMAT_DOUBLE : MPV_FORMAT_INT64;
    return valid() && mpv_observe_property(m_handle, 0, name, format) >= 0;
}

bool MpvHandle::addStream(const char* protocol, void* userData, StreamOpen open) {
    return valid() && mpv_stream_cb_add_ro(m_handle, protocol, userData, open) >= 0;
}

bool MpvHandle::command(std::initializer_list<const char*> args) {
    if (!valid() || args.size() > 8) {
        return false;
    }
    const char* argv[9] = {};
    int i = 0;
    for (const char* arg : args) {
        argv[i++] = arg;
    }
    return mpv_command(m_handle, argv) >= 0;
}

bool MpvHandle::setFlag(const char* name, bool value) {
    int data = value ? 1 : 0;
    return valid() && mpv_set_property(m_handle, name, MPV_FORMAT_FLAG, &data) >= 0;
}

bool MpvHandle::setProperty(const char* name, const std::string& value) {
    return valid() && mpv_set_property_string(m_handle, name, value.c_str()) >= 0;
}

std::optional<double> MpvHandle::getDouble(const char* name) {
    double data = 0;
    if (!valid() || mpv_get_property(m_handle, name, MPV_FORMAT_DOUBLE, &data) < 0) {
        return std::nullopt;
    }
    return data;
}

std::optional<bool> MpvHandle::getFlag(const char* name) {
    int data = 0;
    if (!valid() || mpv_get_property(m_handle, name, MPV_FORMAT_FLAG, &data) < 0) {
        return std::nullopt;
    }
    return data != 0;
}

std::optional<std::string> MpvHandle::getString(const char* name) {
    if (!valid()) {
        return std::nullopt;
    }
    char* data = mpv_get_property_string(m_handle, name);
    if (data == nullptr) {
        return std::nullopt;
    }
    std::string result(data);
    mpv_free(data);
    return result;
}

bool MpvHandle::waitFor(const std::function<bool(const mpv_event&)>& handle,
                        std::chrono::milliseconds timeout) {
    if (!valid()) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            return false;
        }
        const double seconds = std::chrono::duration<double>(left).count();
        const mpv_event* event = mpv_wait_event(m_handle, seconds);
        if (event->event_id != MPV_EVENT_NONE && handle(*event)) {
            return true;
        }
    }
}

bool MpvHandle::handleQueued(const std::function<bool(const mpv_event&)>& handle) {
    if (!valid()) {
        return false;
    }
    for (;;) {
        const mpv_event* event = mpv_wait_event(m_handle, 0);
        if (event->event_id == MPV_EVENT_NONE) {
            return false;
        }
        if (handle(*event)) {
            return true;
        }
    }
}

void MpvHandle::drainEvents() {
    if (!valid()) {
        return;
    }
    while (mpv_wait_event(m_handle, 0)->event_id != MPV_EVENT_NONE) {
    }
}

}  // namespace trelvane::mci
