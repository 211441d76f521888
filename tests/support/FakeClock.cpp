#include "FakeClock.h"

#include <cmath>

namespace trelvane::movie {
namespace {

constexpr std::int64_t kNanosPerDay = 86'400'000'000'000;

std::int64_t toNanoseconds(double seconds) {
    return std::llround(seconds * 1e9);
}

}  // namespace

double FakeClock::secondsSinceMidnight() {
    return now();
}

void FakeClock::set(double seconds) {
    m_nanoseconds = toNanoseconds(seconds);
}

void FakeClock::advance(double seconds) {
    const std::int64_t moved = m_nanoseconds + toNanoseconds(seconds);
    m_nanoseconds = ((moved % kNanosPerDay) + kNanosPerDay) % kNanosPerDay;
}

double FakeClock::now() const {
    return static_cast<double>(m_nanoseconds) / 1e9;
}

}  // namespace trelvane::movie
