// Feeds arbitrary media command texts to the media service on fake players.
//
// Input: the first byte chooses the answer capacity (0..128); the rest is a
// run of commands, one per line, sent in order to one service so that
// sequences such as open, play, status reach the devices. The service must
// never crash, hang, write at or past the capacity, leave an unterminated
// answer or invent a status number.

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "FakePlayerFactory.h"
#include "mci/MediaService.h"
#include "mci/Status.h"

namespace {

using trelvane::mci::MediaService;
using trelvane::mci::Status;
namespace status = trelvane::mci::status;

constexpr std::uint32_t kMaxCapacity = 128;
// Room past the largest capacity, filled with a pattern that must survive.
constexpr std::size_t kCanaryBytes = 64;
constexpr char kCanary = '\xA5';

std::filesystem::path g_movieDir;

// The service checks that the file exists before a player sees it, so a
// real file is needed for "open" to get through. It lives in a private
// directory made the working directory, where the seeds open it as "a.vob".
void makeMovieDir() {
    char pattern[] = "/tmp/trelvane-fuzz-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    g_movieDir = pattern;
    std::ofstream(g_movieDir / "a.vob") << "not decoded by fake players\n";
    std::filesystem::current_path(g_movieDir);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(g_movieDir, ignored);
    });
}

bool isKnownStatus(Status code) {
    constexpr std::array known{
        status::Ok,
        status::UnrecognizedKeyword,
        status::UnrecognizedCommand,
        status::InvalidDeviceName,
        status::CannotLoadDriver,
        status::MissingCommandString,
        status::ParamOverflow,
        status::BadInteger,
        status::MissingParameter,
        status::FileNotFound,
        status::OutOfRange,
        status::DuplicateAlias,
        status::BadConstant,
        status::NoClosingQuote,
        status::DuplicateFlags,
        status::InvalidFile,
        status::NoWindow,
    };
    return std::find(known.begin(), known.end(), code) != known.end();
}

[[noreturn]] void fail(const char* what, const std::string& command, std::uint32_t capacity) {
    std::fprintf(stderr, "%s (capacity %u) after command: \"%s\"\n", what, capacity,
                 command.c_str());
    std::abort();
}

// Sends one command into a buffer whose bytes past `capacity` are a canary,
// and checks what came back.
void sendChecked(MediaService& service, const std::string& command, std::uint32_t capacity,
                 bool nullBuffer) {
    std::array<char, kMaxCapacity + kCanaryBytes> buffer;
    buffer.fill(kCanary);
    char* answer = nullBuffer ? nullptr : buffer.data();
    const Status code = service.sendCommand(command.c_str(), answer, capacity, 0);
    if (!std::all_of(buffer.begin() + capacity, buffer.end(),
                     [](char c) { return c == kCanary; })) {
        fail("answer written at or past the capacity", command, capacity);
    }
    if (capacity > 0 && std::memchr(buffer.data(), '\0', capacity) == nullptr) {
        fail("answer left without a terminator", command, capacity);
    }
    if (!isKnownStatus(code)) {
        fail("unknown status number", command, capacity);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    makeMovieDir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint32_t capacity = data[0] % (kMaxCapacity + 1);
    // A caller with no room may also pass no buffer at all.
    const bool nullBuffer = capacity == 0 && data[0] >= 0x80;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    MediaService service(std::make_unique<trelvane::mci::testing::FakePlayerFactory>());
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        sendChecked(service, std::string(text.substr(start, end - start)), capacity, nullBuffer);
        start = end + 1;
    }
    return 0;
}
