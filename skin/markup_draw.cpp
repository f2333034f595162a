#include "skin/markup_draw.h"

namespace skin {

namespace {

// The one walk over the runs. Without a cell each run is written at the pen position; with one, each run is
// drawn into what is left of the cell, and the walk stops at its right edge.
plat::Size DrawRuns(plat::DeviceContext& dc, const QString& text, MarkupTags tags, int x, int y,
                    const plat::Rect* cell, plat::ColorRef color, const MarkupFonts& fonts) {
    const plat::Font* previousFont = dc.font();
    const plat::ColorRef previousColor = dc.setTextColor(color);
    dc.setPen(color, 1);
    plat::Size size;
    int cx = x;
    for (const MarkupRun& run : TokenizeMarkup(text, tags)) {
        if (cell && cx >= cell->right)
            break;
        dc.selectFont(&fonts.For(run.font));
        const plat::Size extent = dc.getTextExtent(run.text);
        int advance = extent.cx;
        int underlineY = y + extent.cy;
        if (cell) {
            plat::Rect rest{cx, cell->top, cell->right, cell->bottom};
            dc.drawText(run.text, rest,
                        plat::kTextSingleLine | plat::kTextVCenter | plat::kTextNoPrefix |
                            plat::kTextWordEllipsis);
            advance = qMin(extent.cx, cell->right - cx);
            underlineY = cell->top + (cell->height() + extent.cy) / 2;
        } else {
            dc.textOut(cx, y, run.text);
        }
        if (run.underline) {
            dc.moveTo(cx, underlineY);
            dc.lineTo(cx + advance, underlineY);
        }
        cx += advance;
        size.cy = qMax(size.cy, extent.cy);
    }
    size.cx = cx - x;
    dc.selectFont(previousFont);
    dc.setTextColor(previousColor);
    return size;
}

} // namespace

const plat::Font& MarkupFonts::For(MarkupFont font) const {
    switch (font) {
    case MarkupFont::Bold:
        return *bold;
    case MarkupFont::Sup:
        return *sup;
    default:
        return *normal;
    }
}

plat::Size MeasureMarkup(const QString& text, const MarkupFonts& fonts) {
    plat::Size size;
    for (const MarkupRun& run : TokenizeMarkup(text, MarkupTags::Title)) {
        const plat::Size runSize = fonts.For(run.font).textExtent(run.text);
        size.cx += runSize.cx;
        size.cy = qMax(size.cy, runSize.cy);
    }
    return size;
}

plat::Size DrawMarkup(plat::DeviceContext& dc, const QString& text, int x, int y, plat::ColorRef color,
                      const MarkupFonts& fonts) {
    return DrawRuns(dc, text, MarkupTags::Title, x, y, nullptr, color, fonts);
}

plat::Size DrawListMarkup(plat::DeviceContext& dc, const QString& text, const plat::Rect& cell,
                          plat::ColorRef color, const MarkupFonts& fonts) {
    return DrawRuns(dc, text, MarkupTags::List, cell.left, cell.top, &cell, color, fonts);
}

} // namespace skin
