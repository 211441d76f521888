#include "mci/timeline/ClockBounds.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

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
// A gap whose clock advances by more than this share of what the rates on
// its sides would give, and by a leap of at least this many seconds, is
// read into for a leap ahead.
constexpr double kLeapShare = 0.5;
constexpr double kSmallestLeap = 0.5;
// How far the delay of the stamps behind the clock moves between packs a
// few hundred kilobytes apart, sound against pictures included.
constexpr double kStampDrift = 1.0;
// Pairs of samples needed before the clock is judged against the stamps.
constexpr int kFewestWitnesses = 8;
// A clock that keeps within this share of the usual rate, give or take a
// little, runs steadily.
constexpr double kSteadyShare = 0.1;
constexpr double kSteadySlack = 0.5;
// Without a usual rate to go by: no stream is slower than this.
constexpr double kSlowestBytesPerSecond = 32'000;

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace

void ClockBounds::learn(const std::vector<Pack>& samples, std::uint64_t reach) {
    std::vector<double> bytesPerSecond;
    m_localSecondsPerByte.clear();
    int witnessed = 0;
    int disagreeing = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const Pack& before = samples[i - 1];
        const Pack& after = samples[i];
        const std::uint64_t bytes = after.offset - before.offset;
        const double advance = after.scrSeconds - before.scrSeconds;
        if (bytes > reach) {
            continue;
        }
        if (advance > 0) {
            bytesPerSecond.push_back(static_cast<double>(bytes) / advance);
            const double local = advance / static_cast<double>(bytes);
            m_localSecondsPerByte.emplace(before.offset, std::pair{after.offset, local});
            m_localSecondsPerByte.emplace(after.offset, std::pair{before.offset, local});
        }
        // Within a stretch the stamps lead the clock by a delay that barely
        // moves; across a restart both jump alike. Only noise in the clock
        // moves one without the other.
        if (before.firstPts && after.firstPts) {
            ++witnessed;
            const double drift =
                (*after.firstPts - after.scrSeconds) - (*before.firstPts - before.scrSeconds);
            disagreeing += drift < -kStampDrift || drift > kStampDrift;
        }
    }
    m_clockMayBeNoise = 2 * disagreeing > witnessed;
    m_clockIsNoise = witnessed >= kFewestWitnesses && m_clockMayBeNoise;
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

bool ClockBounds::mayLeap(const Pack& before, const Pack& after) const {
    if (m_usualBytesPerSecond <= 0) {
        return false;
    }
    // The rate seen on each side, from its other neighbours (not across the
    // gap itself, which may hold the leap), the faster where there are
    // several; the gap is judged by the slower side, and no faster than
    // usual: a gap inside a quiet stretch is quiet at both ends.
    double secondsPerByte = 1 / m_usualBytesPerSecond;
    for (const auto& [side, other] : {std::pair{&before, &after}, std::pair{&after, &before}}) {
        std::optional<double> fastest;
        const auto [from, to] = m_localSecondsPerByte.equal_range(side->offset);
        for (auto it = from; it != to; ++it) {
            if (it->second.first != other->offset) {
                fastest = std::min(fastest.value_or(it->second.second), it->second.second);
            }
        }
        secondsPerByte = std::max(secondsPerByte, fastest.value_or(0));
    }
    const double expected = static_cast<double>(after.offset - before.offset) * secondsPerByte;
    const double excess = after.scrSeconds - before.scrSeconds - expected;
    return excess > std::max(kLongestPackGap + kSmallestLeap, kLeapShare * expected);
}

bool ClockBounds::stepsBack(const Pack& before, const Pack& after) const {
    const auto bytes = static_cast<double>(after.offset - before.offset);
    return after.scrSeconds - before.scrSeconds < bytes * m_leastSecondsPerByte - kBackwardSlack;
}

bool ClockBounds::runsSteadily(const Pack& before, const Pack& after) const {
    if (m_usualBytesPerSecond <= 0) {
        return false;
    }
    const double expected =
        static_cast<double>(after.offset - before.offset) / m_usualBytesPerSecond;
    const double advance = after.scrSeconds - before.scrSeconds;
    return std::abs(advance - expected) <= kSteadyShare * expected + kSteadySlack;
}

bool ClockBounds::runsOn(const Pack& before, const Pack& after) const {
    const auto bytes = static_cast<double>(after.offset - before.offset);
    return !stepsBack(before, after) &&
           after.scrSeconds - before.scrSeconds <= kLongestPackGap + bytes * m_mostSecondsPerByte;
}

}  // namespace trelvane::mci::timeline
