#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "mci/timeline/PackReader.h"
#include "mci/timeline/Timeline.h"

namespace trelvane::mci::timeline {

// Builds the continuous timeline of a program stream from the clocks of its
// packs. It samples the file at a bounded number of places, and reads pack by
// pack only where two samples disagree, to find the exact pack at which a
// clock restarts (joined cells, the second file of a title) or jumps ahead.
class TimelineBuilder {
public:
    explicit TimelineBuilder(const PackReader& reader) : m_reader(reader) {}

    // nullopt when the file carries no usable clock: too few packs, or no
    // sound or picture stamps to measure a stretch by.
    std::optional<Timeline> build();

private:
    std::vector<Pack> sample() const;
    std::vector<Pack> findRestarts(const std::vector<Pack>& samples) const;
    std::optional<Pack> backwardStep(Pack before, Pack after) const;
    std::optional<Pack> forwardLeap(Pack before, Pack after) const;
    std::optional<Pack> between(const Pack& before, const Pack& after) const;
    std::optional<Segment> measure(std::uint64_t start, std::uint64_t end,
                                   const std::vector<Pack>& samples) const;
    std::optional<double> firstStamp(std::uint64_t start, std::uint64_t end) const;
    std::optional<double> endStamp(std::uint64_t start, std::uint64_t end) const;

    const PackReader& m_reader;
};

}  // namespace trelvane::mci::timeline
