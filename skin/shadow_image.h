#pragma once

#include "platform/color.h"

#include <vector>

namespace plat {
class DeviceContext;
}

// The drop shadow's picture, computed from the shape of the window that casts it.

// One row of a window's shape: the columns from left up to, not including, right; empty when right <= left.
struct ShadowSpan {
    int left = 0;
    int right = 0;
    bool IsEmpty() const { return right <= left; }
};

// The farthest the soft edge, the size and the offsets of a shadow may reach, in pixels.
inline constexpr int kMaxShadowReach = 20;

struct ShadowLook {
    int darkness = 100; // opacity of the solid part, 0 to 255
    int sharpness = 15; // width of the soft edge, 0 to 20
    int size = 0;       // how far the shadow reaches beyond the window, -20 to 20
    int xOffset = 8;    // -20 to 20
    int yOffset = 8;    // -20 to 20
    plat::ColorRef color = 0;
};

// Draws the shadow of a window whose rows are parentRows (one span per row, as wide as the window) into
// image, which is made (w + 2 size) x (h + 2 size) and placed by the caller at the window's position plus
// the offsets minus size. The soft edge follows the outline; the solid part never lies under the window,
// where the picture stays transparent.
bool MakeShadowImage(plat::DeviceContext& image, const std::vector<ShadowSpan>& parentRows, int parentWidth,
                     const ShadowLook& look);
