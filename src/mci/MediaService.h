#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "mci/AnswerBuffer.h"
#include "mci/Device.h"
#include "mci/ParsedCommand.h"
#include "mci/PlayerFactory.h"
#include "mci/Status.h"

namespace trelvane::mci {

// Carries out media command texts ("open ...", "play movie from 12000",
// "status movie position", ...) on players made by the factory, one player
// per opened file, addressed by alias. Every command is finished when
// sendCommand returns. Not thread-safe: meant for the one thread that sends
// the commands. It knows nothing of its clients: the program hands it to
// them through movie::ServiceChannel.
class MediaService final {
public:
    explicit MediaService(std::unique_ptr<PlayerFactory> factory);
    ~MediaService();

    MediaService(const MediaService&) = delete;
    MediaService& operator=(const MediaService&) = delete;

    // A command text in, a status and (for queries) a NUL-terminated answer
    // of at most `capacity` bytes back; `answer` may be null when `capacity`
    // is 0. Only statuses come out: a failure inside the service, down to a
    // thread that cannot start or memory that runs out, is one too.
    // `callbackWindow` is accepted and ignored: no completion notices are sent.
    std::uint32_t sendCommand(const char* command, char* answer, std::uint32_t capacity,
                              std::uintptr_t callbackWindow) noexcept;

private:
    Status carryOut(const char* command, AnswerBuffer& buffer);
    Status execute(const ParsedCommand& command, std::string& answer);
    Status operate(Device& device, const ParsedCommand& command, std::string& answer);
    Status open(const ParsedCommand& command);
    Status close(const ParsedCommand& command);
    Status play(Device& device, const ParsedCommand& command);
    Status seek(Device& device, const ParsedCommand& command);
    Status setTimeFormat(const ParsedCommand& command);
    Status query(Device& device, const ParsedCommand& command, std::string& answer);

    Device* find(std::string_view alias);

    std::unique_ptr<PlayerFactory> m_factory;
    std::map<std::string, Device> m_devices;  // by lower-case alias
};

}  // namespace trelvane::mci
