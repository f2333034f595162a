#include "skin/dotted_frame.h"

#include "platform/device_context.h"

namespace skin {

void DrawDottedFrame(plat::DeviceContext& dc, const plat::Rect& rect, plat::ColorRef color) {
    if (rect.isEmpty())
        return;
    // The dots follow the frame around, so the pattern keeps its rhythm at the corners.
    int step = 0;
    auto dot = [&](int x, int y) {
        if (step++ % 2 == 0)
            dc.setPixel(x, y, color);
    };
    const int right = rect.right - 1;
    const int bottom = rect.bottom - 1;
    for (int x = rect.left; x < right; ++x)
        dot(x, rect.top);
    for (int y = rect.top; y < bottom; ++y)
        dot(right, y);
    for (int x = right; x > rect.left; --x)
        dot(x, bottom);
    for (int y = bottom; y > rect.top; --y)
        dot(rect.left, y);
}

} // namespace skin
