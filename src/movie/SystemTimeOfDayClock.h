#pragma once

#include "movie/TimeOfDayClock.h"

namespace trelvane::movie {

// The wall clock of the local time zone: what a watch on the user's wall
// reads, in seconds since its last midnight, with a fraction.
class SystemTimeOfDayClock : public TimeOfDayClock {
public:
    double secondsSinceMidnight() override;
};

}  // namespace trelvane::movie
