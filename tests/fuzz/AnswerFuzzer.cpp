// Feeds arbitrary answer texts to the movie control's answer reading.
//
// The input is the text a media service writes into the answer buffer: at
// most its capacity, ended by the first NUL or by one the channel adds, with
// whatever bytes follow the NUL left in the buffer as old ones. Every query
// of MovieModule reads it; each must return or fail with an overflow and
// nothing else, and the number read must agree with the C library's reading
// of the same plain decimal.

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FakeClock.h"
#include "core/Failure.h"
#include "movie/AnswerNumber.h"
#include "movie/CommandChannel.h"
#include "movie/EventPass.h"
#include "movie/MovieModule.h"

namespace {

using trelvane::Failure;
using trelvane::movie::answerNumber;
using trelvane::movie::MovieModule;

// The answer buffer MovieModule hands to the channel.
constexpr std::size_t kModuleCapacity = 128;

[[noreturn]] void fail(const char* what, std::string_view answer) {
    std::fprintf(stderr, "%s for answer \"%.*s\"\n", what, static_cast<int>(answer.size()),
                 answer.data());
    std::abort();
}

// Answers every query with the fuzzed bytes and every other command with 0.
class FuzzedChannel : public trelvane::movie::CommandChannel {
public:
    explicit FuzzedChannel(std::string_view bytes) : m_bytes(bytes) {}

    std::uint32_t sendCommand(const char* /*command*/, char* answer, std::uint32_t capacity,
                              std::uintptr_t /*callbackWindow*/) override {
        if (answer == nullptr || capacity == 0) {
            return 0;
        }
        const std::size_t length = std::min<std::size_t>(m_bytes.size(), capacity);
        std::memcpy(answer, m_bytes.data(), length);
        if (std::memchr(answer, '\0', length) == nullptr) {
            answer[std::min<std::size_t>(length, capacity - 1)] = '\0';
        }
        return 0;
    }

private:
    std::string_view m_bytes;
};

class NoEvents : public trelvane::movie::EventPass {
public:
    void runOnePass() override {}
};

// The answer as the module sees it: up to the terminator the channel left.
std::string_view visibleAnswer(std::string_view bytes, std::size_t capacity) {
    bytes = bytes.substr(0, std::min(bytes.size(), capacity - 1));
    return bytes.substr(0, bytes.find('\0'));
}

// The leading plain decimal ([blanks][sign]digits[.digits]) of `text`, the
// only form answers take; nullopt when the text does not start with one.
std::optional<std::string> plainDecimal(std::string_view text) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t start = at;
    if (text[at] == '-' || text[at] == '+') {
        ++at;
    }
    const std::size_t digitsStart = at;
    while (at < text.size() && ((text[at] >= '0' && text[at] <= '9') || text[at] == '.')) {
        ++at;
    }
    const std::string_view number = text.substr(digitsStart, at - digitsStart);
    const std::size_t points = std::count(number.begin(), number.end(), '.');
    if (points > 1 || number.find_first_of("0123456789") == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(text.substr(start, at - start));
}

// Differs from strtod only where strtod gives a value answers cannot need:
// below the smallest normal double, where from_chars may give up.
void compareWithStrtod(std::string_view text) {
    const double ours = answerNumber(text);
    if (std::isnan(ours)) {
        fail("answerNumber gave NaN", text);
    }
    const std::optional<std::string> plain = plainDecimal(text);
    if (!plain) {
        return;
    }
    errno = 0;
    const double theirs = std::strtod(plain->c_str(), nullptr);
    if (std::fabs(theirs) < DBL_MIN) {
        if (std::fabs(ours) >= DBL_MIN) {
            fail("answerNumber read a tiny number as a large one", text);
        }
        return;
    }
    if (ours != theirs) {
        std::fprintf(stderr, "answerNumber %.17g, strtod %.17g\n", ours, theirs);
        fail("answerNumber disagrees with strtod", text);
    }
}

// Runs one query; a Failure must be the overflow, any other exception escapes.
template <typename Query>
void query(std::string_view answer, Query run) {
    try {
        run();
    } catch (const Failure& failure) {
        if (failure.number() != Failure::overflow().number()) {
            fail("query failed with other than an overflow", answer);
        }
    }
}

void runQueries(std::string_view bytes) {
    FuzzedChannel channel(bytes);
    trelvane::movie::FakeClock clock(100.0);
    NoEvents events;
    MovieModule module(channel, clock, events);
    query(bytes, [&] { module.getLengthInMS(); });
    query(bytes, [&] { module.getLengthInSec(); });
    query(bytes, [&] { module.getPositionInMS(); });
    query(bytes, [&] { module.getPositionInSec(); });
    query(bytes, [&] {
        const bool playing = module.isMoviePlaying();
        const bool saysPlaying = visibleAnswer(bytes, kModuleCapacity).starts_with("playing");
        if (playing != saysPlaying) {
            fail("isMoviePlaying misread the mode", bytes);
        }
    });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    std::setlocale(LC_NUMERIC, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    compareWithStrtod(bytes.substr(0, bytes.find('\0')));
    runQueries(bytes);
    return 0;
}
