#include "skin/vertical_text.h"

namespace skin {

plat::Size VerticalTextExtent(const plat::Font& font, const QString& text) {
    const plat::Size flat = font.textExtent(text);
    return {flat.cy, flat.cx};
}

void DrawVerticalText(plat::DeviceContext& dc, int x, int bottom, const plat::Font& font,
                      plat::ColorRef colour, const QString& text) {
    const plat::Size flat = font.textExtent(text);
    plat::DeviceContext lying;
    plat::DeviceContext standing;
    if (text.isEmpty() || !lying.create(flat.cx, flat.cy) || !standing.create(flat.cy, flat.cx))
        return;
    lying.selectFont(&font);
    lying.setTextColor(colour);
    lying.textOut(0, 0, text);
    lying.selectFont(nullptr);
    // A quarter turn to the left: the lying text's column c becomes the standing row (length - 1 - c).
    for (int row = 0; row < flat.cy; ++row) {
        const std::uint32_t* from = lying.constScanLine(row);
        for (int column = 0; column < flat.cx; ++column)
            standing.scanLine(flat.cx - 1 - column)[row] = from[column];
    }
    dc.alphaBlend(x, bottom - flat.cx, flat.cy, flat.cx, standing, 0, 0, flat.cy, flat.cx, 255, true);
}

} // namespace skin
