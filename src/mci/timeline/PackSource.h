#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "mci/timeline/Pack.h"

namespace trelvane::mci::timeline {

// Where the time index gets its packs from: the file itself, or something
// wrapped round it that watches the reads.
class PackSource {
public:
    virtual ~PackSource() = default;

    virtual std::uint64_t size() const = 0;
    // The first pack that starts at `offset` or within `searchBytes` after it.
    virtual std::optional<Pack> packAt(std::uint64_t offset,
                                       std::uint64_t searchBytes = 16384) const = 0;
    // Consecutive packs from the first at or after `offset`, each starting
    // before `until`, at most `most` of them, read in one go. It may stop
    // short of both where a pack runs past what it read.
    virtual std::vector<Pack> packsFrom(std::uint64_t offset, std::uint64_t until,
                                        std::size_t most) const = 0;
};

}  // namespace trelvane::mci::timeline
