// The one rounding rule of every conversion to a whole number (pixels, tenths of a
// millimetre, font heights): nearest, an exact half to the even neighbour.
#pragma once

#include <cmath>
#include <cstdint>

// 12.5 -> 12, 13.5 -> 14, -2.5 -> -2.
inline std::int64_t RoundHalfEven(long double value) {
    const long double lower = std::floor(value);
    const long double diff = value - lower;
    if (diff < 0.5L)
        return std::int64_t(lower);
    if (diff > 0.5L)
        return std::int64_t(lower) + 1;
    const auto l = std::int64_t(lower);
    return (l % 2 == 0) ? l : l + 1;
}
