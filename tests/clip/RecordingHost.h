#pragma once

#include <cstdint>
#include <vector>

#include "clip/CopyHost.h"

namespace trelvane::clip::testing {

// A progress bar and event loop that only remember what was done to them.
// The bar gives back the last value set, as a real one does.
struct RecordingHost : CopyHost {
    std::int32_t movieLength = 0;
    std::vector<float> maximums;
    std::vector<float> values;
    int yields = 0;
    int lengthAsked = 0;

    std::int32_t movieLengthInSec() override {
        ++lengthAsked;
        return movieLength;
    }
    void setProgressMaximum(float maximum) override { maximums.push_back(maximum); }
    float progressValue() override { return values.empty() ? 0.0f : values.back(); }
    void setProgressValue(float value) override { values.push_back(value); }
    void yield() override { ++yields; }
};

}  // namespace trelvane::clip::testing
