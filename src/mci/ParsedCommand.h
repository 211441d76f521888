#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "mci/CommandGrammar.h"

namespace trelvane::mci {

struct OptionValue {
    std::string text;                    // as written; empty for a flag
    std::optional<std::int32_t> number;  // set when the text is a number
};

// A command whose words have been checked against its verb's grammar. Option
// values are kept as written; whether a word value is acceptable is for the
// command to decide.
struct ParsedCommand {
    Verb verb = Verb::Open;
    std::string device;  // alias, "all", or for open the file name, as written
    std::string item;    // lower case; empty when the verb has no items
    std::map<std::string, OptionValue, std::less<>> options;  // by lower-case keyword

    bool has(std::string_view keyword) const { return options.find(keyword) != options.end(); }

    const OptionValue* value(std::string_view keyword) const {
        const auto found = options.find(keyword);
        return found == options.end() ? nullptr : &found->second;
    }
};

}  // namespace trelvane::mci
