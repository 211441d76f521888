#pragma once

#include <cstdint>

#include "movie/CommandChannel.h"

namespace trelvane::movie {

// The channel over a media command service that knows nothing of this seam:
// anything with a sendCommand of the channel's shape, such as the program's
// own interpreter. The service must outlive the channel.
template <typename Service>
class ServiceChannel final : public CommandChannel {
public:
    explicit ServiceChannel(Service& service) : m_service(service) {}

    std::uint32_t sendCommand(const char* command, char* answer, std::uint32_t capacity,
                              std::uintptr_t callbackWindow) override {
        return m_service.sendCommand(command, answer, capacity, callbackWindow);
    }

private:
    Service& m_service;
};

}  // namespace trelvane::movie
