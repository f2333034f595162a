#include "platform/pixel_runs.h"

#include "platform/device_context.h"

#include <algorithm>

namespace plat {

PixelRuns PixelRuns::capture(const DeviceContext& dc, const Rect& rect) {
    PixelRuns runs;
    const Rect inside = rect.intersected(Rect{0, 0, dc.width(), dc.height()});
    if (inside != rect || rect.isEmpty())
        return runs;
    runs.m_width = rect.width();
    runs.m_height = rect.height();
    runs.m_rowStart.reserve(size_t(rect.height()) + 1);
    for (int y = rect.top; y < rect.bottom; ++y) {
        runs.m_rowStart.push_back(runs.m_runs.size());
        const std::uint32_t* line = dc.constScanLine(y) + rect.left;
        for (int x = 0; x < runs.m_width;) {
            int end = x + 1;
            while (end < runs.m_width && line[end] == line[x])
                ++end;
            runs.m_runs.push_back({line[x], std::uint32_t(end - x)});
            x = end;
        }
    }
    runs.m_rowStart.push_back(runs.m_runs.size());
    runs.m_runs.shrink_to_fit();
    return runs;
}

void PixelRuns::draw(DeviceContext& dc, int x, int y) const {
    const Rect target = Rect::fromXywh(x, y, m_width, m_height).intersected(dc.clipBox());
    for (int row = target.top; row < target.bottom; ++row) {
        std::uint32_t* line = dc.scanLine(row);
        const size_t last = m_rowStart[size_t(row - y) + 1];
        int at = x;
        for (size_t i = m_rowStart[size_t(row - y)]; i < last && at < target.right; ++i) {
            const int end = at + int(m_runs[i].count);
            const int from = std::max(at, target.left), to = std::min(end, target.right);
            if (from < to)
                std::fill(line + from, line + to, m_runs[i].argb);
            at = end;
        }
    }
}

} // namespace plat
