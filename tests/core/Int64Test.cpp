#include <gtest/gtest.h>

#include <limits>

#include "core/Failure.h"
#include "core/Int64.h"

namespace trelvane {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(Int64Arithmetic, WorksUpToTheLimitsAndFailsPastThem) {
    EXPECT_EQ(int64::add(kMax - 20'480, 20'480), kMax);
    EXPECT_EQ(int64::subtract(kMin + 1, 1), kMin);
    EXPECT_EQ(int64::multiply(2'147'483'647, 2'147'483'647), 4'611'686'014'132'420'609);
    EXPECT_THROW(int64::add(kMax - 20'479, 20'480), Failure);
    EXPECT_THROW(int64::subtract(kMin, 1), Failure);
    EXPECT_THROW(int64::multiply(std::int64_t{1} << 32, std::int64_t{1} << 31), Failure);
    try {
        int64::multiply(kMin, -1);
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), failureNumber::Overflow);
    }
}

}  // namespace
}  // namespace trelvane
