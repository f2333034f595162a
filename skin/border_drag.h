#pragma once

#include "platform/geometry.h"

namespace skin {

struct ResizeEdges {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    bool Any() const { return left || top || right || bottom; }
};

// The window rectangle after one step of a border drag: each dragged edge follows the cursor, stays inside
// the desktop and keeps the window at least max(floor, minimum) wide and tall.
plat::Rect ResizedRect(const plat::Rect& window, const plat::Rect& desktop, plat::Point cursor,
                       ResizeEdges edges, int minWidth, int minHeight, int floor);

} // namespace skin
