#include "skin/skin_atlas.h"

#include "platform/color.h"
#include "platform/device_context.h"

namespace skin {

namespace {
plat::DeviceContext* g_atlas = nullptr;
}

void SetAtlas(plat::DeviceContext* atlas) {
    g_atlas = atlas;
}

plat::DeviceContext* Atlas() {
    return g_atlas;
}

void DrawPiece(plat::DeviceContext& dc, int x, int y, const plat::DeviceContext& atlas,
               const plat::Rect& piece) {
    dc.bitBlt(x, y, piece.width(), piece.height(), atlas, piece.left, piece.top);
}

void DrawKeyedPiece(plat::DeviceContext& dc, int x, int y, const plat::DeviceContext& atlas,
                    const plat::Rect& piece) {
    // The key reads the same as a COLORREF and as 0xRRGGBB.
    constexpr plat::ColorRef kKey = plat::Rgb(255, 0, 255);
    static_assert(kKey == skin_art::kKeyColour);
    dc.transparentBlt(x, y, piece.width(), piece.height(), atlas, piece.left, piece.top, piece.width(),
                      piece.height(), kKey);
}

void StretchPiece(plat::DeviceContext& dc, const plat::Rect& dst, const plat::DeviceContext& atlas,
                  const plat::Rect& piece) {
    dc.stretchBlt(dst.left, dst.top, dst.width(), dst.height(), atlas, piece.left, piece.top, piece.width(),
                  piece.height());
}

} // namespace skin
