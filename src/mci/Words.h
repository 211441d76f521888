#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Command words are compared without regard to ASCII case; bytes above 127
// belong to file names and aliases in whatever encoding the caller uses, so
// they are never folded.
namespace trelvane::mci::words {

char lower(char c);
std::string lowered(std::string_view text);
bool same(std::string_view a, std::string_view b);
bool isBlank(char c);

// A decimal whole number: an optional '-', then at least one digit and
// nothing else. Values outside the 32-bit signed range give nullopt.
std::optional<std::int32_t> toInt32(std::string_view text);

}  // namespace trelvane::mci::words
