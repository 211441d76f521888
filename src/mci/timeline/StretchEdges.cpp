#include "mci/timeline/StretchEdges.h"

#include <algorithm>
#include <map>

namespace trelvane::mci::timeline {
namespace {

constexpr double kLongestFrame = 0.2;
// Pictures are sent out of the order they are shown in, so a stream's next
// stamp may lie a few frames behind its last; and stamps come at most 0.7 s
// apart in a stream, which a pack without any can stretch a little.
constexpr double kReorderSlack = 0.5;
constexpr double kLongestStampGap = 1.5;

// For each stream, the latest (or earliest) of its stamps in `run`.
std::map<std::uint8_t, double> extremeStamps(const std::vector<Pack>& run, bool latest) {
    std::map<std::uint8_t, double> found;
    for (const Pack& pack : run) {
        for (const auto& [stream, pts] : pack.stamps) {
            const auto [at, fresh] = found.emplace(stream, pts);
            if (!fresh) {
                at->second = latest ? std::max(at->second, pts) : std::min(at->second, pts);
            }
        }
    }
    return found;
}

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

bool StretchEdges::stampsRunOn(const std::vector<Pack>& before, const std::vector<Pack>& after) {
    // One stream that runs on is enough: at a restart or a leap every stream
    // breaks, while over a still picture the sound runs on though the next
    // picture comes seconds later.
    const auto last = extremeStamps(before, true);
    const auto first = extremeStamps(after, false);
    for (const auto& [stream, pts] : last) {
        const auto next = first.find(stream);
        if (next != first.end() && next->second - pts >= -kReorderSlack &&
            next->second - pts <= kLongestStampGap) {
            return true;
        }
    }
    return false;
}

}  // namespace trelvane::mci::timeline
