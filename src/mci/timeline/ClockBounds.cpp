#include "mci/timeline/ClockBounds.h"

#include <algorithm>

namespace trelvane::mci::timeline {
namespace {

// A disc's program stream is delivered at 10.08 Mbit/s at most, so its clock
// advances at least one second per this many bytes. Over a stretch of some
// size a stream runs at most twice its usual rate; beyond the disc's
// delivery rate that is the only bound.
constexpr double kDiscMuxBytesPerSecond = 10.08e6 / 8;
constexpr double kBurstFactor = 2;
// A quiet stretch (a still, a pause in the sound) lets the clock run ahead of
// the usual rate of the file; this many times slower is still plausible.
constexpr double kQuietFactor = 4;
// Clocks that step back by less than this are jitter, not a restart.
constexpr double kBackwardSlack = 0.05;
// Consecutive packs carry clocks at most 0.7 s apart; more is a leap.
constexpr double kLongestPackGap = 1.0;
// Without a usual rate to go by: no stream is slower than this.
constexpr double kSlowestBytesPerSecond = 32'000;

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace

void ClockBounds::learn(const std::vector<Pack>& samples, std::uint64_t reach) {
    std::vector<double> bytesPerSecond;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const std::uint64_t bytes = samples[i].offset - samples[i - 1].offset;
        const double advance = samples[i].scrSeconds - samples[i - 1].scrSeconds;
        if (advance > 0 && bytes <= reach) {
            bytesPerSecond.push_back(static_cast<double>(bytes) / advance);
        }
    }
    const double usual = bytesPerSecond.empty() ? 0 : median(bytesPerSecond);
    m_usualBytesPerSecond = usual;
    // The clock must advance at least at half the usual rate, or, from a
    // disc, at the rate of the disc's delivery, whichever is the stronger.
    const double fastest = usual > kDiscMuxBytesPerSecond
                               ? kBurstFactor * usual
                               : std::min(kDiscMuxBytesPerSecond, kBurstFactor * usual);
    m_leastSecondsPerByte = usual > 0 ? 1 / fastest : 1 / kDiscMuxBytesPerSecond;
    m_mostSecondsPerByte = usual > 0 ? kQuietFactor / usual : 1 / kSlowestBytesPerSecond;
}

bool ClockBounds::stepsBack(const Pack& before, const Pack& after) const {
    const auto bytes = static_cast<double>(after.offset - before.offset);
    return after.scrSeconds - before.scrSeconds < bytes * m_leastSecondsPerByte - kBackwardSlack;
}

bool ClockBounds::runsOn(const Pack& before, const Pack& after) const {
    const auto bytes = static_cast<double>(after.offset - before.offset);
    return !stepsBack(before, after) &&
           after.scrSeconds - before.scrSeconds <= kLongestPackGap + bytes * m_mostSecondsPerByte;
}

}  // namespace trelvane::mci::timeline
