#pragma once

namespace trelvane::movie {

// Seconds since local midnight, with a fraction. Restarts at 0 at midnight.
class TimeOfDayClock {
public:
    virtual ~TimeOfDayClock() = default;
    virtual double secondsSinceMidnight() = 0;
};

}  // namespace trelvane::movie
