#pragma once

#include <algorithm>
#include <vector>

namespace trelvane::bench {

// Milliseconds from the start of an open to each of its steps: the file
// opened, the movie seen to play (its position moving), its length known.
// A negative figure means the step did not happen.
struct OpenTimes {
    double openMs = -1;
    double lengthMs = -1;
    double playingMs = -1;
    long movieLengthMs = 0;
    double seeks = -1;  // charged by a slow medium under the bench, if any

    // Step by step, the middle value of several runs.
    static OpenTimes median(std::vector<OpenTimes> runs) {
        OpenTimes middle;
        if (runs.empty()) {
            return middle;
        }
        const auto pick = [&runs](double OpenTimes::*step) {
            std::vector<double> values;
            for (const OpenTimes& run : runs) {
                values.push_back(run.*step);
            }
            std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
            return values[values.size() / 2];
        };
        middle.openMs = pick(&OpenTimes::openMs);
        middle.lengthMs = pick(&OpenTimes::lengthMs);
        middle.playingMs = pick(&OpenTimes::playingMs);
        middle.seeks = pick(&OpenTimes::seeks);
        middle.movieLengthMs = runs.front().movieLengthMs;
        return middle;
    }
};

}  // namespace trelvane::bench
