#include "mci/CommandGrammar.h"

#include <algorithm>
#include <array>

#include "mci/Words.h"

namespace trelvane::mci {

namespace {

// Every command may ask to wait or to be notified; both are accepted so that
// callers written for other media services are not refused. Commands finish
// before returning and no notices are sent.
constexpr OptionSpec kWait{"wait", {}, ValueKind::None};
constexpr OptionSpec kNotify{"notify", {}, ValueKind::None};

constexpr std::array kPlainOptions{kWait, kNotify};

constexpr std::array kOpenOptions{
    kWait,
    kNotify,
    OptionSpec{"type", {}, ValueKind::Word},
    OptionSpec{"alias", {}, ValueKind::Word},
    OptionSpec{"parent", {}, ValueKind::Integer},
    OptionSpec{"style", {}, ValueKind::Word},
};

constexpr std::array kPlayOptions{
    kWait,
    kNotify,
    OptionSpec{"from", {}, ValueKind::Integer},
    OptionSpec{"to", {}, ValueKind::Integer},
};

constexpr std::array kSeekOptions{kWait, kNotify, OptionSpec{"to", {}, ValueKind::Position}};

constexpr std::array kSetOptions{kWait, kNotify, OptionSpec{"time", "format", ValueKind::Word}};

constexpr std::array<std::string_view, 3> kStatusItems{"length", "position", "mode"};

const std::array kVerbs{
    VerbGrammar{Verb::Open, "open", true, kOpenOptions, {}},
    VerbGrammar{Verb::Close, "close", false, kPlainOptions, {}},
    VerbGrammar{Verb::Play, "play", false, kPlayOptions, {}},
    VerbGrammar{Verb::Pause, "pause", false, kPlainOptions, {}},
    VerbGrammar{Verb::Resume, "resume", false, kPlainOptions, {}},
    VerbGrammar{Verb::Stop, "stop", false, kPlainOptions, {}},
    VerbGrammar{Verb::Seek, "seek", false, kSeekOptions, {}},
    VerbGrammar{Verb::Set, "set", false, kSetOptions, {}},
    VerbGrammar{Verb::Status, "status", false, kPlainOptions, kStatusItems},
};

}  // namespace

const OptionSpec* VerbGrammar::findOption(std::string_view word) const {
    const auto found = std::find_if(options.begin(), options.end(), [word](const OptionSpec& o) {
        return words::same(o.keyword, word);
    });
    return found == options.end() ? nullptr : &*found;
}

bool VerbGrammar::isItem(std::string_view word) const {
    return std::any_of(items.begin(), items.end(),
                       [word](std::string_view item) { return words::same(item, word); });
}

const VerbGrammar* findVerb(std::string_view word) {
    const auto found = std::find_if(kVerbs.begin(), kVerbs.end(), [word](const VerbGrammar& v) {
        return words::same(v.name, word);
    });
    return found == kVerbs.end() ? nullptr : &*found;
}

}  // namespace trelvane::mci
