#include "core/Int32.h"

#include <cfenv>
#include <cmath>

#include "core/Failure.h"

namespace trelvane::int32 {

std::int32_t fromDouble(double value) {
    // nearbyint honours the rounding mode; ties-to-even is the default one,
    // but a library we load could have changed it, so ask for it explicitly.
    const int savedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(savedMode);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        throw Failure::overflow();
    }
    return static_cast<std::int32_t>(rounded);
}

std::string decimalText(std::int32_t value) {
    return std::to_string(value);
}

}  // namespace trelvane::int32
