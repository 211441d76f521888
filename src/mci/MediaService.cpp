#include "mci/MediaService.h"

#include <new>

#include "mci/AnswerBuffer.h"
#include "mci/CommandParser.h"
#include "mci/MovieFile.h"
#include "mci/OpenSettings.h"
#include "mci/Words.h"

namespace trelvane::mci {

namespace {

std::optional<std::int64_t> numberOf(const OptionValue* value) {
    return value ? std::optional<std::int64_t>(*value->number) : std::nullopt;
}

}  // namespace

MediaService::MediaService(std::unique_ptr<PlayerFactory> factory)
    : m_factory(std::move(factory)) {}

MediaService::~MediaService() = default;

std::uint32_t MediaService::sendCommand(const char* command, char* answer, std::uint32_t capacity,
                                        std::uintptr_t /*callbackWindow*/) noexcept {
    AnswerBuffer buffer(answer, capacity);
    buffer.clear();
    try {
        return carryOut(command, buffer);
    } catch (const std::bad_alloc&) {
        buffer.clear();
        return status::OutOfMemory;
    } catch (...) {
        buffer.clear();
        return status::DriverInternal;
    }
}

Status MediaService::carryOut(const char* command, AnswerBuffer& buffer) {
    const ParseResult parsed = CommandParser::parse(command);
    if (parsed.status != status::Ok) {
        return parsed.status;
    }
    std::string text;
    const Status status = execute(parsed.command, text);
    return status == status::Ok ? buffer.deliver(text) : status;
}

Status MediaService::execute(const ParsedCommand& command, std::string& answer) {
    if (command.verb == Verb::Open) {
        return open(command);
    }
    if (command.verb == Verb::Close) {
        return close(command);
    }
    Device* device = find(command.device);
    return device ? operate(*device, command, answer) : status::InvalidDeviceName;
}

Status MediaService::operate(Device& device, const ParsedCommand& command, std::string& answer) {
    switch (command.verb) {
        case Verb::Play:
            return play(device, command);
        case Verb::Pause:
            return device.pause();
        case Verb::Resume:
            return device.resume();
        case Verb::Stop:
            return device.stop();
        case Verb::Seek:
            return seek(device, command);
        case Verb::Set:
            return setTimeFormat(command);
        case Verb::Status:
            return query(device, command, answer);
        case Verb::Open:
        case Verb::Close:
            break;
    }
    return status::UnrecognizedCommand;
}

Status MediaService::open(const ParsedCommand& command) {
    OpenSettings settings;
    if (const Status status = OpenSettings::read(command, settings); status != status::Ok) {
        return status;
    }
    const std::string key = words::lowered(settings.alias);
    if (m_devices.contains(key)) {
        return status::DuplicateAlias;
    }
    if (const Status status = movieFile::check(settings.request.path); status != status::Ok) {
        return status;
    }
    settings.request.path = movieFile::absolute(settings.request.path);
    std::unique_ptr<PlayerDevice> player = m_factory->createPlayer();
    if (!player) {
        return status::CannotLoadDriver;
    }
    Device device(std::move(player));
    if (const Status status = device.open(settings.request); status != status::Ok) {
        return status;
    }
    m_devices.emplace(key, std::move(device));
    return status::Ok;
}

Status MediaService::close(const ParsedCommand& command) {
    if (words::same(command.device, "all")) {
        m_devices.clear();
        return status::Ok;
    }
    return m_devices.erase(words::lowered(command.device)) == 1 ? status::Ok
                                                                : status::InvalidDeviceName;
}

Status MediaService::play(Device& device, const ParsedCommand& command) {
    return device.play(numberOf(command.value("from")), numberOf(command.value("to")));
}

Status MediaService::seek(Device& device, const ParsedCommand& command) {
    const OptionValue* target = command.value("to");
    if (target == nullptr) {
        return status::MissingParameter;
    }
    if (words::same(target->text, "start")) {
        return device.seek(0);
    }
    if (words::same(target->text, "end")) {
        return device.seek(device.lengthMs());
    }
    return device.seek(*target->number);
}

Status MediaService::setTimeFormat(const ParsedCommand& command) {
    // Milliseconds are the only format, so setting it changes nothing; it is
    // still checked so that a caller asking for frames learns it cannot have them.
    const OptionValue* format = command.value("time");
    if (format == nullptr) {
        return status::MissingParameter;
    }
    const bool known = words::same(format->text, "ms") || words::same(format->text, "milliseconds");
    return known ? status::Ok : status::BadConstant;
}

Status MediaService::query(Device& device, const ParsedCommand& command, std::string& answer) {
    if (command.item == "length") {
        answer = std::to_string(device.lengthMs());
    } else if (command.item == "position") {
        answer = std::to_string(device.positionMs());
    } else {
        answer = modeWord(device.mode());
    }
    return status::Ok;
}

Device* MediaService::find(std::string_view alias) {
    const auto found = m_devices.find(words::lowered(alias));
    return found == m_devices.end() ? nullptr : &found->second;
}

}  // namespace trelvane::mci
