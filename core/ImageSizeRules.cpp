#include "core/ImageSizeRules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

std::optional<int> LinkedSide(int newThis, int origThis, int origOther) {
    if (origThis < 1)
        return std::nullopt;
    const double ratio = static_cast<double>(newThis) / origThis;
    // The fields take up to nine digits, so the product may leave int: limit it first.
    const double other =
        std::clamp(std::nearbyint(origOther * ratio), static_cast<double>(std::numeric_limits<int>::min()),
                   static_cast<double>(std::numeric_limits<int>::max()));
    return static_cast<int>(other);
}

int PercentSide(int percent, int side) {
    const std::int64_t value = std::int64_t{percent} * side / 100;
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
