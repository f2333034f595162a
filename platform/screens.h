#pragma once

#include "platform/geometry.h"

#include <vector>

namespace plat {

// Screen geometry in screen coordinates.
Rect primaryScreenRect();           // the whole primary screen
Rect virtualDesktopRect();          // the union of every screen
std::vector<Rect> availableRects(); // each screen's work area (without panels), primary first
Rect availableRectAt(Point p);      // the work area of the screen holding p, else of the nearest screen
Point cursorPos();                  // the mouse pointer in screen coordinates

// Where a window of rect's size may stand so that the user can reach it: rect itself when its caption band
// (top 30 px) shows at least 40 px wide (or its whole width when narrower) on some screen's work area;
// otherwise rect moved into the work area nearest to it (its top-left kept visible when it is larger).
Rect keepReachable(const Rect& rect, const std::vector<Rect>& workAreas);

} // namespace plat
