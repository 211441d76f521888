#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "FakeClock.h"
#include "FakeEventPass.h"
#include "RecordingChannel.h"
#include "core/Failure.h"
#include "movie/MovieModule.h"

namespace trelvane::movie {

// A module wired to a recording channel, a clock stopped at 100 s past
// midnight and an event loop whose every pass takes one millisecond.
class MovieModuleTest : public ::testing::Test {
protected:
    static constexpr double kPassStep = 0.001;

    // The failure number thrown by `operation`, or nullopt if it returned.
    static std::optional<std::int32_t> failureOf(const std::function<void()>& operation) {
        try {
            operation();
        } catch (const Failure& failure) {
            return failure.number();
        }
        return std::nullopt;
    }

    RecordingChannel m_channel;
    FakeClock m_clock{100.0};
    FakeEventPass m_eventPass{m_clock, kPassStep};
    MovieModule m_module{m_channel, m_clock, m_eventPass};
};

inline constexpr std::int32_t kOverflow = failureNumber::Overflow;

}  // namespace trelvane::movie
