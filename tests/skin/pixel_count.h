#pragma once

#include "platform/device_context.h"

namespace skintest {

// How many pixels of rect pass test, which takes the pixel's colour. Smoothed text has few pixels of exactly
// its colour, so text tests ask for "near" colours this way.
template <typename Test> int CountPixels(const plat::DeviceContext& dc, const plat::Rect& rect, Test test) {
    int found = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            found += test(dc.getPixel(x, y)) ? 1 : 0;
    return found;
}

// Every channel above 230, or every channel below 80.
inline bool NearWhite(plat::ColorRef c) {
    return plat::RedOf(c) > 230 && plat::GreenOf(c) > 230 && plat::BlueOf(c) > 230;
}

} // namespace skintest
