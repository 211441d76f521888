#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "movie/SystemTimeOfDayClock.h"

namespace trelvane::movie {
namespace {

// Puts the process in a fixed time zone for the life of the object.
class TimeZoneOverride {
public:
    explicit TimeZoneOverride(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZoneOverride() {
        if (m_old) {
            setenv("TZ", m_old->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> m_old;
};

TEST(SystemTimeOfDayClock, ReadsSecondsSinceLocalMidnightWithAFraction) {
    const TimeZoneOverride zone("IST-5:30");  // five and a half hours east of UTC
    constexpr std::time_t kOffset = 5 * 3600 + 30 * 60;
    SystemTimeOfDayClock clock;

    bool sawFraction = false;
    for (int i = 0; i < 1000; ++i) {
        const std::time_t before = (std::time(nullptr) + kOffset) % 86400;
        const double reading = clock.secondsSinceMidnight();
        const std::time_t after = (std::time(nullptr) + kOffset) % 86400;
        ASSERT_GE(reading, 0.0);
        ASSERT_LT(reading, 86400.0);
        if (after >= before) {  // not across midnight
            EXPECT_GE(std::floor(reading), static_cast<double>(before));
            EXPECT_LE(std::floor(reading), static_cast<double>(after));
        }
        sawFraction = sawFraction || reading != std::floor(reading);
    }
    EXPECT_TRUE(sawFraction);
}

}  // namespace
}  // namespace trelvane::movie
