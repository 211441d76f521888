#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "FakeClock.h"
#include "movie/EventPass.h"

namespace trelvane::movie {

// One pass of a pretend event loop: runs the injected action (a handler that
// fires inside the wait), then moves the clock on by a fixed step. Throws
// after too many passes, so a wait that never ends fails instead of hanging.
class FakeEventPass : public EventPass {
public:
    FakeEventPass(FakeClock& clock, double step) : m_clock(clock), m_step(step) {}

    void runOnePass() override;
    // Notes where the pass was told to stop sleeping, then passes as above.
    void runOnePassWaitingAtMost(std::chrono::duration<double> longestWait) override;

    // The action receives the number of the pass, counting from 1.
    void setAction(std::function<void(int)> action) { m_action = std::move(action); }
    int passes() const { return m_passes; }
    double step() const { return m_step; }
    // For each limited pass: the clock's reading plus the longest sleep allowed.
    const std::vector<double>& sleepLimits() const { return m_sleepLimits; }

private:
    static constexpr int kMaxPasses = 1'000'000;

    FakeClock& m_clock;
    double m_step;
    int m_passes = 0;
    std::function<void(int)> m_action;
    std::vector<double> m_sleepLimits;
};

}  // namespace trelvane::movie
