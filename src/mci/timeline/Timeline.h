#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvane::mci::timeline {

struct ClockSample {
    std::uint64_t offset = 0;
    double scrSeconds = 0;
};

// A stretch of the file over which the clocks run on without a restart.
// Stamps ("pts") are the file's own, in seconds; the continuous start is where
// the stretch begins on the one timeline the user sees.
struct Segment {
    std::uint64_t byteStart = 0;
    std::uint64_t byteEnd = 0;
    double firstPts = 0;
    double endPts = 0;
    double continuousStart = 0;
    std::vector<ClockSample> samples;  // ascending, the first at byteStart

    double span() const { return endPts - firstPts; }
    bool holdsStamp(double pts, double slack) const {
        return pts >= firstPts - slack && pts <= endPts + slack;
    }
};

// A point of the movie in the terms of the file: which stretch, which stamp.
struct Place {
    std::size_t segment = 0;
    double pts = 0;
};

// One continuous timeline over the stretches of a file, starting at 0.
class Timeline {
public:
    explicit Timeline(std::vector<Segment> segments);

    std::size_t segmentCount() const { return m_segments.size(); }
    const Segment& segment(std::size_t index) const { return m_segments[index]; }
    std::int64_t lengthMs() const;

    Place locate(std::int64_t ms) const;
    // The continuous time of a stamp seen in a stretch, kept inside it.
    std::int64_t continuousMs(const Place& place) const;
    // Roughly where the data shown at `place` lies in the file: the clock
    // leads the stamps by a delay that is constant within a stretch.
    std::uint64_t estimateOffset(const Place& place) const;

private:
    std::vector<Segment> m_segments;
};

}  // namespace trelvane::mci::timeline
