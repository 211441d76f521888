#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "mci/timeline/PackReader.h"

namespace trelvane::mci::timeline {

// How far the clock of a program stream may plausibly advance over a stretch
// of bytes without a restart, going by the usual rate of the file.
class ClockBounds {
public:
    // Learns the usual rate from neighbouring samples at most `reach` bytes
    // apart, over which the clock almost never restarts, and the rate near
    // each of those samples.
    void learn(const std::vector<Pack>& samples, std::uint64_t reach);

    // The clock advances from `before` to `after` as the bytes allow.
    bool runsOn(const Pack& before, const Pack& after) const;
    // It advances so much more than the rate on both sides of the gap allows
    // that it likely leaps ahead somewhere between, however plausible the
    // advance would be for a quiet stretch.
    bool mayLeap(const Pack& before, const Pack& after) const;
    // Over the neighbouring samples the pack clocks and the stamps of the
    // sound and pictures mostly disagree: the clocks are not to be trusted.
    bool clockIsNoise() const { return m_clockIsNoise; }
    // The same, on however few pairs were witnessed: a doubt, not a verdict.
    bool clockMayBeNoise() const { return m_clockMayBeNoise; }
    // It advances within a small share of what the usual rate gives.
    bool runsSteadily(const Pack& before, const Pack& after) const;
    // It advances less than they allow: it steps back somewhere between.
    bool stepsBack(const Pack& before, const Pack& after) const;

    double usualBytesPerSecond() const { return m_usualBytesPerSecond; }

private:
    double m_leastSecondsPerByte = 0;
    double m_mostSecondsPerByte = 0;
    double m_usualBytesPerSecond = 0;
    // Of each sample near another: that one's offset, and the rate between.
    std::multimap<std::uint64_t, std::pair<std::uint64_t, double>> m_localSecondsPerByte;
    bool m_clockIsNoise = false;
    bool m_clockMayBeNoise = false;
};

}  // namespace trelvane::mci::timeline
