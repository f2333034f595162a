#pragma once

#include "platform/color.h"
#include "platform/device_context.h"

#include <algorithm>
#include <cmath>

namespace skintest {

// Relative luminance of a colour as screens show it (sRGB), 0 for black to 1 for white.
inline double Luminance(plat::ColorRef c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(plat::RedOf(c)) + 0.7152 * channel(plat::GreenOf(c)) +
           0.0722 * channel(plat::BlueOf(c));
}

// How far apart two colours read, from 1 (the same) to 21 (black on white); text wants 4.5 or more.
inline double ContrastRatio(plat::ColorRef a, plat::ColorRef b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The strongest contrast between what `with` shows and what `without` shows at the same pixel, over the
// columns [left, right) of both: how readable whatever `with` adds there is against what lies under it.
inline double StrongestInk(const plat::DeviceContext& with, const plat::DeviceContext& without, int left,
                           int right) {
    double best = 1.0;
    for (int y = 0; y < with.height(); ++y)
        for (int x = left; x < right; ++x)
            best = std::max(best, ContrastRatio(with.getPixel(x, y), without.getPixel(x, y)));
    return best;
}

} // namespace skintest
