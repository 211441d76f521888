#include "movie/SystemTimeOfDayClock.h"

#include <ctime>

namespace trelvane::movie {
namespace {

constexpr long kSecondsPerDay = 86400;

}  // namespace

double SystemTimeOfDayClock::secondsSinceMidnight() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const double fraction = static_cast<double>(now.tv_nsec) / 1e9;
    tm local{};
    if (localtime_r(&now.tv_sec, &local) == nullptr) {
        // Only a time beyond what the calendar functions can express gets
        // here; the day's position in UTC still moves forward with time.
        return static_cast<double>(now.tv_sec % kSecondsPerDay) + fraction;
    }
    const long whole = local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec;
    return static_cast<double>(whole) + fraction;
}

}  // namespace trelvane::movie
