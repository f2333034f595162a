#pragma once

#include "platform/geometry.h"

#include <vector>

namespace plat {

// Screen geometry in screen coordinates.
Rect PrimaryScreenRect();           // the whole primary screen
Rect VirtualDesktopRect();          // the union of every screen
std::vector<Rect> AvailableRects(); // each screen's work area (without panels), primary first
Rect AvailableRectAt(Point p);      // the work area of the screen holding p, else of the nearest screen
Point CursorPos();                  // the mouse pointer in screen coordinates

// Where a window of rect's size may stand so that the user can reach it: rect itself when its caption band
// (top 30 px) shows at least 40 px wide (or its whole width when narrower) on some screen's work area;
// otherwise rect moved into the work area nearest to it (its top-left kept visible when it is larger).
Rect KeepReachable(const Rect& rect, const std::vector<Rect>& workAreas);

} // namespace plat
