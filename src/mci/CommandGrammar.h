#pragma once

#include <span>
#include <string_view>

namespace trelvane::mci {

enum class Verb { Open, Close, Play, Pause, Resume, Stop, Seek, Set, Status };

enum class ValueKind {
    None,      // a flag: the keyword alone
    Word,      // one bare word, checked by the command that uses it
    Integer,   // a 32-bit signed decimal number
    Position,  // "start", "end" or a 32-bit signed decimal number
};

// One option of a verb. A second word makes a two-word keyword such as
// "time format"; the option is known under its first word.
struct OptionSpec {
    std::string_view keyword;
    std::string_view secondWord;
    ValueKind value = ValueKind::None;
};

struct VerbGrammar {
    Verb verb;
    std::string_view name;
    bool deviceIsFile = false;  // the word after the verb names a file, not a device
    std::span<const OptionSpec> options;
    // Words of which exactly one must be given, in any position among the options.
    std::span<const std::string_view> items;

    const OptionSpec* findOption(std::string_view word) const;
    bool isItem(std::string_view word) const;
};

// Every verb the service understands, looked up without regard to case.
const VerbGrammar* findVerb(std::string_view word);

}  // namespace trelvane::mci
