#pragma once

#include <cstdint>
#include <string>

namespace trelvane::bench {

// A movie of a given size made of real encoded video: one sample file laid
// end to end as often as it takes, as discs join their parts, so that the
// clocks restart at every join. The last copy is cut at a pack boundary.
class JoinedMovie {
public:
    static constexpr std::int64_t kPackBytes = 2048;

    // Makes `path` of `bytes` (rounded down to whole packs) from `sample`,
    // unless a file of that size is already there. Returns false on failure.
    static bool make(const std::string& sample, const std::string& path, std::int64_t bytes);

    // Reads the whole file once, so that the timed opens find it in the page
    // cache. Returns the bytes read, or -1.
    static std::int64_t readThrough(const std::string& path);

    // How many copies of a sample of `sampleBytes` a file of `bytes` holds,
    // the last one possibly cut.
    static std::int64_t parts(std::int64_t bytes, std::int64_t sampleBytes);
};

}  // namespace trelvane::bench
