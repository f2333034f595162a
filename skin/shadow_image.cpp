#include "skin/shadow_image.h"

#include "platform/device_context.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

ShadowSpan Intersect(const ShadowSpan& a, const ShadowSpan& b) {
    return ShadowSpan{std::max(a.left, b.left), std::min(a.right, b.right)};
}

// The outline narrowed once: each row keeps what it shares with both neighbours, less a pixel at each end.
std::vector<ShadowSpan> Shrink(const std::vector<ShadowSpan>& rows) {
    std::vector<ShadowSpan> out(rows.size());
    const ShadowSpan none;
    for (size_t r = 0; r < rows.size(); ++r) {
        const ShadowSpan& above = r > 0 ? rows[r - 1] : none;
        const ShadowSpan& below = r + 1 < rows.size() ? rows[r + 1] : none;
        ShadowSpan s = Intersect(Intersect(above, rows[r]), below);
        s.left += 1;
        s.right -= 1;
        out[r] = s.IsEmpty() ? none : s;
    }
    return out;
}

// A round stamp: solid up to the inner radius, fading to nothing over the sharpness.
std::vector<std::uint32_t> MakeKernel(const ShadowLook& look, int radius) {
    const int side = 2 * radius + 1;
    const int inner = std::max(0, look.size - look.sharpness);
    std::vector<std::uint32_t> kernel(size_t(side) * side, 0);
    for (int ky = 0; ky < side; ++ky) {
        for (int kx = 0; kx < side; ++kx) {
            const double d = std::hypot(double(kx - radius), double(ky - radius));
            int alpha = 0;
            if (d <= inner)
                alpha = look.darkness;
            else if (d <= radius)
                alpha = int((1.0 - (d - inner) / (look.sharpness + 1)) * look.darkness);
            if (alpha > 0)
                kernel[size_t(ky) * side + kx] = plat::PremultipliedArgb(look.color, alpha);
        }
    }
    return kernel;
}

} // namespace

bool MakeShadowImage(plat::DeviceContext& image, const std::vector<ShadowSpan>& parentRows, int parentWidth,
                     const ShadowLook& look) {
    const int s = look.size;
    const int parentHeight = int(parentRows.size());
    const int width = parentWidth + 2 * s;
    const int height = parentHeight + 2 * s;
    if (width <= 0 || height <= 0 || !image.create(width, height))
        return false;

    // The window's outline in picture coordinates: moved by size, so a larger shadow has room around it.
    std::vector<ShadowSpan> outline(static_cast<size_t>(height));
    for (int r = 0; r < height; ++r) {
        const int parentRow = r - s;
        if (parentRow < 0 || parentRow >= parentHeight || parentRows[size_t(parentRow)].IsEmpty())
            continue;
        const ShadowSpan& span = parentRows[size_t(parentRow)];
        outline[size_t(r)] = Intersect(ShadowSpan{span.left + s, span.right + s}, ShadowSpan{0, width});
    }
    for (int pass = 0; pass < look.sharpness - s; ++pass)
        outline = Shrink(outline);

    const int radius = std::max(look.sharpness, s);
    const int side = 2 * radius + 1;
    const std::vector<std::uint32_t> kernel = MakeKernel(look, radius);
    // Premultiplied pixels of one colour grow with their alpha, so the larger value is the darker one.
    const auto stamp = [&](int cx, int cy) {
        for (int ky = 0; ky < side; ++ky) {
            const int y = cy - radius + ky;
            if (y < 0 || y >= height)
                continue;
            std::uint32_t* line = image.scanLine(y);
            const std::uint32_t* k = &kernel[size_t(ky) * side];
            for (int kx = 0; kx < side; ++kx) {
                const int x = cx - radius + kx;
                if (x >= 0 && x < width && (k[kx] >> 24) > (line[x] >> 24))
                    line[x] = k[kx];
            }
        }
    };
    // The edge of the outline: the pixels of a row that are not surrounded on all four sides.
    const ShadowSpan none;
    for (int r = 0; r < height; ++r) {
        const ShadowSpan& row = outline[size_t(r)];
        if (row.IsEmpty())
            continue;
        const ShadowSpan& above = r > 0 ? outline[size_t(r - 1)] : none;
        const ShadowSpan& below = r + 1 < height ? outline[size_t(r + 1)] : none;
        const ShadowSpan covered = Intersect(above, below);
        const int innerLeft = std::max(row.left + 1, covered.left);
        const int innerRight = std::min(row.right - 1, covered.right);
        for (int x = row.left; x < row.right; ++x)
            if (x < innerLeft || x >= innerRight)
                stamp(x, r);
            else
                x = innerRight - 1;
    }

    const std::uint32_t solid = plat::PremultipliedArgb(look.color, look.darkness);
    for (int r = 0; r < height; ++r) {
        std::uint32_t* line = image.scanLine(r);
        const ShadowSpan& row = outline[size_t(r)];
        for (int x = std::max(0, row.left); x < std::min(width, row.right); ++x)
            line[x] = solid;
        // The window hides what lies under it; a translucent window would show a dark stain there.
        const int parentRow = r + look.yOffset - s;
        if (parentRow < 0 || parentRow >= parentHeight)
            continue;
        const ShadowSpan& over = parentRows[size_t(parentRow)];
        if (over.IsEmpty())
            continue;
        const int from = std::max(0, over.left - look.xOffset + s);
        const int to = std::min(width, over.right - look.xOffset + s);
        for (int x = from; x < to; ++x)
            line[x] = 0;
    }
    return true;
}
