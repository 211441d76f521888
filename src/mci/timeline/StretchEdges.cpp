#include "mci/timeline/StretchEdges.h"

#include <algorithm>
#include <map>

namespace trelvane::mci::timeline {
namespace {

constexpr double kLongestFrame = 0.2;

}  // namespace

std::optional<double> StretchEdges::firstStamp(const std::vector<Pack>& run, std::uint64_t end) {
    std::optional<double> first;
    for (const Pack& pack : run) {
        if (pack.offset >= end) {
            break;
        }
        if (pack.firstPts) {
            first = std::min(first.value_or(*pack.firstPts), *pack.firstPts);
        }
    }
    return first;
}

std::optional<double> StretchEdges::endStamp(const std::vector<Pack>& run) {
    // A stream's frame duration is the closest two of its stamps.
    std::map<std::uint8_t, std::vector<double>> stamps;
    for (const Pack& pack : run) {
        for (const auto& [stream, pts] : pack.stamps) {
            stamps[stream].push_back(pts);
        }
    }
    std::optional<double> last;
    for (auto& [stream, list] : stamps) {
        std::sort(list.begin(), list.end());
        double frame = 0;
        for (std::size_t i = 1; i < list.size(); ++i) {
            const double step = list[i] - list[i - 1];
            if (step > 0 && step <= kLongestFrame && (frame == 0 || step < frame)) {
                frame = step;
            }
        }
        last = std::max(last.value_or(list.back() + frame), list.back() + frame);
    }
    return last;
}

}  // namespace trelvane::mci::timeline
