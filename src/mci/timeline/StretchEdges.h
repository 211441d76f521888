#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "mci/timeline/PackReader.h"

namespace trelvane::mci::timeline {

// Packs read one after another at each end of a stretch, and what they say
// of where the stretch's sound and pictures begin and end.
struct StretchEdges {
    // Packs read at each end of a stretch to find its first and last stamps.
    static constexpr int kEdgePacks = 64;
    static constexpr std::uint64_t kEdgeBytes = kEdgePacks * 2048;
    // Packs read behind a restart found inside the file. A stretch's first
    // stamps, and a stream to witness the break, come in its first few
    // packs; its last stamps need more before the restart (pictures are sent
    // out of order), so that side keeps the full edge.
    static constexpr int kJoinStartPacks = 16;
    static constexpr std::uint64_t kJoinStartBytes = kJoinStartPacks * 2048;

    // The earliest stamp among the packs of `run` before `end`.
    static std::optional<double> firstStamp(const std::vector<Pack>& run, std::uint64_t end);
    // Where the presentation of `run` ends: each stream's last stamp plus its
    // frame duration, the latest of those.
    static std::optional<double> endStamp(const std::vector<Pack>& run);
    // The sound or the pictures of `after`, read right behind `before`, carry
    // on where those of `before` end: for some stream both hold, its first
    // stamp after comes within a frame's reordering back or a short wait
    // ahead of its last stamp before. False where no stream is in both.
    static bool stampsRunOn(const std::vector<Pack>& before, const std::vector<Pack>& after);
};

}  // namespace trelvane::mci::timeline
