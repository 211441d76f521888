// How a gap whose clock breaks is searched for the exact pack of each
// restart or leap, and what is read on either side once it is found.
#include "mci/timeline/TimelineBuilder.h"

#include <algorithm>
#include <iterator>

#include "mci/timeline/StretchEdges.h"

namespace trelvane::mci::timeline {
namespace {

// How far either side of a guessed restart two packs are read.
constexpr std::uint64_t kGuessReach = 96 * 1024;
// Gaps up to this size are swept a step at a time rather than halved.
constexpr std::uint64_t kSweepBytes = 8 * 1024 * 1024;
constexpr std::uint64_t kSweepStep = 192 * 1024;

}  // namespace

void TimelineBuilder::resolve(const Pack& before, const Pack& after) {
    if (!m_judged.emplace(before.offset, after.offset).second ||
        (m_bounds.runsOn(before, after) && !m_bounds.mayLeap(before, after))) {
        return;
    }
    if (const auto guess = guessRestart(before, after)) {
        // Two packs either side of the guess, near each other: one seek when
        // the guess is good, and the gap split no worse than halving when not.
        auto low = read(*guess - kGuessReach, *guess - before.offset);
        auto high = low ? read(*guess + kGuessReach, after.offset - *guess) : std::nullopt;
        if (high && low->offset > before.offset && low->offset < high->offset &&
            high->offset < after.offset) {
            // The gap between the two first, while the drive is there.
            resolve(*low, *high);
            resolve(before, *low);
            resolve(*high, after);
            return;
        }
    }
    const std::uint64_t gap = after.offset - before.offset;
    if (gap > kNearBytes && gap <= kSweepBytes && sweep(before, after)) {
        return;
    }
    if (const auto middle = between(before, after)) {
        resolve(before, *middle);
        resolve(*middle, after);
        return;
    }
    restartAt(before, after);  // neighbours that disagree: the clock restarts here
}

bool TimelineBuilder::sweep(const Pack& before, const Pack& after) {
    // Packs a near read apart, forwards through the gap: a drive passes over
    // what lies between without a seek, where halving would seek at each
    // step until the halves came within a near read.
    std::vector<Pack> found;
    for (std::uint64_t at = before.offset + kSweepStep; at + kSweepStep / 2 < after.offset;
         at += kSweepStep) {
        if (auto pack = read(at); pack && pack->offset < after.offset &&
                                  (found.empty() ? before : found.back()).offset < pack->offset) {
            found.push_back(std::move(*pack));
        }
    }
    if (found.empty()) {
        return false;
    }
    resolve(before, found.front());
    for (std::size_t i = 1; i < found.size(); ++i) {
        resolve(found[i - 1], found[i]);
    }
    resolve(found.back(), after);
    return true;
}

std::optional<std::uint64_t> TimelineBuilder::guessRestart(const Pack& before,
                                                           const Pack& after) const {
    // Joined parts restart their clocks where the part before began: going
    // back from `after` at the usual rate to that clock finds the join.
    // Cells of a recording restart where the first one began, which after
    // a leap ahead is no longer where the stretch before began: both are
    // tried.
    const auto bytes = static_cast<double>(after.offset - before.offset);
    if (m_bounds.usualBytesPerSecond() <= 0 || !m_bounds.stepsBack(before, after)) {
        return std::nullopt;  // no rate to go by, or a leap ahead
    }
    const Boundary& first = m_boundaries.begin()->second;
    const Boundary& stretch = std::prev(m_boundaries.upper_bound(before.offset))->second;
    for (const Boundary* start : {&first, &stretch}) {
        if (start->startRun.empty()) {
            continue;
        }
        const double elapsed = after.scrSeconds - start->startRun.front().scrSeconds;
        const double back = elapsed * m_bounds.usualBytesPerSecond();
        if (elapsed > 0 && back < bytes - 4.0 * kGuessReach && back > 2.0 * kGuessReach) {
            return after.offset - static_cast<std::uint64_t>(back);
        }
    }
    return std::nullopt;
}

std::optional<Pack> TimelineBuilder::between(const Pack& before, const Pack& after) {
    if (before.offset + before.length >= after.offset) {
        return std::nullopt;
    }
    auto middle =
        read(before.offset + (after.offset - before.offset) / 2, after.offset - before.offset);
    if (!middle || middle->offset <= before.offset || middle->offset >= after.offset) {
        return std::nullopt;
    }
    return middle;
}

void TimelineBuilder::restartAt(const Pack& before, const Pack& first) {
    const std::uint64_t offset = first.offset;
    if (m_boundaries.count(offset) != 0 || overBudget()) {
        return;
    }
    // The packs on either side are read now, while the drive is here: they
    // end the stretch before, start this one, and witness whether the sound
    // and pictures break here too. Where they run on, only the pack clock
    // broke, and the stretch goes on.
    const auto previous = std::prev(m_boundaries.upper_bound(offset));
    const std::uint64_t from =
        offset > StretchEdges::kEdgeBytes ? offset - StretchEdges::kEdgeBytes : 0;
    std::vector<Pack> endRun =
        readRun(std::max(from, previous->first), offset + StretchEdges::kJoinStartBytes, kWholeRun);
    const auto split = std::find_if(endRun.begin(), endRun.end(),
                                    [offset](const Pack& pack) { return pack.offset >= offset; });
    std::vector<Pack> startRun(std::make_move_iterator(split),
                               std::make_move_iterator(endRun.end()));
    endRun.erase(split, endRun.end());
    if (startRun.size() < static_cast<std::size_t>(StretchEdges::kJoinStartPacks)) {
        // A run cut short: the rest of the start pack by pack.
        const std::uint64_t next =
            startRun.empty()
                ? offset
                : startRun.back().offset + std::max<std::uint64_t>(startRun.back().length, 1);
        std::vector<Pack> rest =
            readRun(next, m_reader.size(),
                    StretchEdges::kJoinStartPacks - static_cast<int>(startRun.size()));
        startRun.insert(startRun.end(), std::make_move_iterator(rest.begin()),
                        std::make_move_iterator(rest.end()));
    }
    if (StretchEdges::stampsRunOn(endRun, startRun)) {
        m_ranOn.push_back(before);
        m_ranOn.push_back(first);
        return;
    }
    m_edges.push_back(before);
    m_edges.push_back(first);
    // The stretch this one splits keeps its start; its end is now this one's.
    Boundary boundary;
    for (Pack& pack : previous->second.endRun) {
        if (pack.offset >= offset) {
            boundary.endRun.push_back(std::move(pack));
        }
    }
    previous->second.endRun = std::move(endRun);
    boundary.startRun = std::move(startRun);
    m_boundaries.emplace(offset, std::move(boundary));
}

}  // namespace trelvane::mci::timeline
