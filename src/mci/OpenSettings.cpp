#include "mci/OpenSettings.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "mci/Words.h"

namespace trelvane::mci {

namespace {

constexpr std::string_view kDeviceType = "mpegvideo";
constexpr std::array<std::string_view, 3> kStyles{"child", "popup", "overlapped"};

bool isStyle(std::string_view word) {
    return std::any_of(kStyles.begin(), kStyles.end(),
                       [word](std::string_view style) { return words::same(style, word); });
}

}  // namespace

Status OpenSettings::read(const ParsedCommand& command, OpenSettings& settings) {
    if (const OptionValue* type = command.value("type");
        type && !words::same(type->text, kDeviceType)) {
        return status::CannotLoadDriver;
    }
    if (const OptionValue* style = command.value("style"); style && !isStyle(style->text)) {
        return status::BadConstant;
    }
    const OptionValue* alias = command.value("alias");
    settings.alias = alias ? alias->text : command.device;
    if (words::same(settings.alias, "all")) {
        // "all" addresses every device at once and cannot name one of them.
        return status::InvalidDeviceName;
    }
    settings.request.path = command.device;
    settings.request.parentWindow.reset();
    if (const OptionValue* parent = command.value("parent"); parent && *parent->number != 0) {
        // Window handles travel as 32-bit patterns; a negative number is the
        // same handle written as signed.
        settings.request.parentWindow = static_cast<std::uint32_t>(*parent->number);
    }
    return status::Ok;
}

}  // namespace trelvane::mci
