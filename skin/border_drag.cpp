#include "skin/border_drag.h"

#include <algorithm>

namespace skin {

plat::Rect ResizedRect(const plat::Rect& window, const plat::Rect& desktop, plat::Point cursor,
                       ResizeEdges edges, int minWidth, int minHeight, int floor) {
    const int needWidth = std::max(floor, minWidth);
    const int needHeight = std::max(floor, minHeight);
    plat::Rect r = window;
    if (edges.left)
        r.left = std::min(std::max(desktop.left, cursor.x), window.right - needWidth);
    if (edges.top)
        r.top = std::min(std::max(desktop.top, cursor.y), window.bottom - needHeight);
    if (edges.right)
        r.right = std::max(std::min(desktop.right, cursor.x), window.left + needWidth);
    if (edges.bottom)
        r.bottom = std::max(std::min(desktop.bottom, cursor.y), window.top + needHeight);
    return r;
}

} // namespace skin
