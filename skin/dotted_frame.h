#pragma once

#include "platform/color.h"
#include "platform/geometry.h"

namespace plat {
class DeviceContext;
}

namespace skin {

// A one-pixel frame inside rect with every other pixel set, the outline of a hot or focused control.
void DrawDottedFrame(plat::DeviceContext& dc, const plat::Rect& rect, plat::ColorRef color);

} // namespace skin
