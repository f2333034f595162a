#pragma once

#include "platform/geometry.h"

#include <cstdint>
#include <vector>

namespace plat {

class DeviceContext;

// A copy of part of a surface as runs of equal pixels per row. Pictures of broad even areas (shaded
// backgrounds) take a small part of a surface's memory this way and are put back without a surface to copy
// from, whose pages would first have to be faulted in.
class PixelRuns {
  public:
    PixelRuns() = default;
    // The pixels of rect, which lies within dc.
    static PixelRuns capture(const DeviceContext& dc, const Rect& rect);
    // Puts the pixels back (alpha included) with their top-left corner at (x, y), within dc's clip.
    void draw(DeviceContext& dc, int x, int y) const;

    Size size() const { return {m_width, m_height}; }
    size_t runCount() const { return m_runs.size(); }

  private:
    struct Run {
        std::uint32_t argb;
        std::uint32_t count;
    };
    int m_width = 0;
    int m_height = 0;
    std::vector<Run> m_runs;
    std::vector<size_t> m_rowStart; // index of each row's first run, and one past the last
};

} // namespace plat
