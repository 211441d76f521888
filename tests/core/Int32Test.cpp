#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Failure.h"
#include "core/Int32.h"

namespace trelvane {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(Int32Arithmetic, ResultsInRangeAreExact) {
    EXPECT_EQ(int32::add(kMax - 1, 1), kMax);
    EXPECT_EQ(int32::subtract(kMin + 1, 1), kMin);
    EXPECT_EQ(int32::multiply(2147483, 1000), 2147483000);
    EXPECT_EQ(int32::multiply(-2147483, 1000), -2147483000);
}

TEST(Int32Arithmetic, OutOfRangeIsAnOverflowFailure) {
    EXPECT_THROW(int32::add(kMax, 1), Failure);
    EXPECT_THROW(int32::subtract(kMin, 1), Failure);
    EXPECT_THROW(int32::multiply(2147484, 1000), Failure);
    EXPECT_THROW(int32::multiply(-2147484, 1000), Failure);
    try {
        int32::multiply(kMax, 2);
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), failureNumber::Overflow);
        EXPECT_EQ(failure.description(), "Overflow");
    }
}

TEST(Int32FromDouble, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(int32::fromDouble(1234.5), 1234);
    EXPECT_EQ(int32::fromDouble(1235.5), 1236);
    EXPECT_EQ(int32::fromDouble(-0.5), 0);
    EXPECT_EQ(int32::fromDouble(-1.5), -2);
    EXPECT_EQ(int32::fromDouble(2.4999), 2);
    EXPECT_EQ(int32::fromDouble(2.5001), 3);
}

TEST(Int32FromDouble, ValuesThatDoNotFitFail) {
    EXPECT_EQ(int32::fromDouble(2147483647.4), kMax);
    EXPECT_EQ(int32::fromDouble(-2147483648.4), kMin);
    EXPECT_THROW(int32::fromDouble(2147483647.5), Failure);
    EXPECT_THROW(int32::fromDouble(-2147483648.6), Failure);
    EXPECT_THROW(int32::fromDouble(3000000000.0), Failure);
    EXPECT_THROW(int32::fromDouble(std::nan("")), Failure);
    EXPECT_THROW(int32::fromDouble(std::numeric_limits<double>::infinity()), Failure);
}

TEST(Int32DecimalText, HasNoBlanksOrSeparators) {
    EXPECT_EQ(int32::decimalText(0), "0");
    EXPECT_EQ(int32::decimalText(-3000), "-3000");
    EXPECT_EQ(int32::decimalText(kMin), "-2147483648");
    EXPECT_EQ(int32::decimalText(1234567), "1234567");
}

}  // namespace
}  // namespace trelvane
