#pragma once

#include <cstdint>

#include "movie/TimeOfDayClock.h"

namespace trelvane::movie {

// A time of day that moves only when told to. Kept in whole nanoseconds so
// that readings such as 101.0 come out exactly, however many steps led there.
class FakeClock : public TimeOfDayClock {
public:
    explicit FakeClock(double seconds) { set(seconds); }

    double secondsSinceMidnight() override;

    void set(double seconds);
    // Moves by `seconds` (may be negative) and restarts at 0 past midnight.
    void advance(double seconds);
    double now() const;

private:
    std::int64_t m_nanoseconds = 0;
};

}  // namespace trelvane::movie
