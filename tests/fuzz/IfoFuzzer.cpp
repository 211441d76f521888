// Feeds arbitrary bytes, as a title set's information file, to the time
// index that reads one beside a movie part.
//
// With TRELVANE_IFO_FUZZ_SET naming the VIDEO_TS folder of a real title set
// (scripts/fuzz.sh makes a short one with dvdauthor), the bytes lie beside
// that set's first part, so that inputs grown from its own information file
// reach the checks against the part's packs; without it, beside no part, and
// only the reading of the file's tables is fuzzed. Whatever the bytes, the
// index must return, and a timeline it builds from them must last as long as
// the one the packs alone give: a wrong file must never mislead.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "mci/timeline/IfoCells.h"
#include "mci/timeline/IfoTimeline.h"
#include "mci/timeline/PackReader.h"
#include "mci/timeline/TimelineBuilder.h"

namespace {

using namespace trelvane::mci::timeline;

// A frame at the part's 25 a second.
constexpr std::int64_t kFrameMs = 40;

struct FuzzPlace {
    std::string folder;
    std::string part;  // empty without a title set
    std::optional<std::int64_t> packLengthMs;
};

FuzzPlace makePlace() {
    char pattern[] = "/tmp/ifo-fuzz-XXXXXX";
    FuzzPlace place;
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("making a folder for the inputs");
        std::abort();
    }
    place.folder = pattern;
    static std::string made;
    made = place.folder;
    std::atexit([] { std::filesystem::remove_all(made); });
    const char* set = std::getenv("TRELVANE_IFO_FUZZ_SET");
    if (set == nullptr || *set == '\0') {
        return place;
    }
    place.part = place.folder + "/VTS_01_1.VOB";
    if (::symlink((std::string(set) + "/VTS_01_1.VOB").c_str(), place.part.c_str()) != 0) {
        std::perror("linking the title set's first part");
        std::abort();
    }
    PackReader reader;
    if (!reader.open(place.part)) {
        std::abort();
    }
    if (auto timeline = TimelineBuilder(reader).build()) {
        place.packLengthMs = timeline->lengthMs();
    }
    return place;
}

void writeIfo(const std::string& folder, const std::uint8_t* data, std::size_t size) {
    const std::string path = folder + "/VTS_01_0.IFO";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzPlace place = makePlace();
    writeIfo(place.folder, data, size);
    if (place.part.empty()) {
        readIfoCells(place.folder, 1);
        return 0;
    }
    PackReader reader;
    if (!reader.open(place.part)) {
        std::abort();
    }
    const auto timeline = ifoTimeline(place.part, reader);
    if (timeline && (!place.packLengthMs ||
                     std::llabs(timeline->lengthMs() - *place.packLengthMs) > kFrameMs)) {
        std::fprintf(stderr, "the information file misled the index: %lld ms for %lld\n",
                     static_cast<long long>(timeline->lengthMs()),
                     static_cast<long long>(place.packLengthMs.value_or(-1)));
        std::abort();
    }
    return 0;
}
