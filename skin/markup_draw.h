#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "skin/markup_text.h"

#include <QString>

// Drawing of the markup that titles and report cells carry (see markup_text.h).

namespace skin {

// The fonts of the three kinds of run; none may be null.
struct MarkupFonts {
    const plat::Font* normal;
    const plat::Font* bold;
    const plat::Font* sup;

    const plat::Font& For(MarkupFont font) const;
};

// Size of title markup without drawing it.
plat::Size MeasureMarkup(const QString& text, const MarkupFonts& fonts);
// Title markup on one line from (x, y), runs underlined where asked; answers the width drawn and the tallest
// run's height.
plat::Size DrawMarkup(plat::DeviceContext& dc, const QString& text, int x, int y, plat::ColorRef color,
                      const MarkupFonts& fonts);
// Cell markup (bold and underline only) inside cell, centred vertically; a run that does not fit ends in an
// ellipsis and nothing is drawn past the cell's right edge.
plat::Size DrawListMarkup(plat::DeviceContext& dc, const QString& text, const plat::Rect& cell,
                          plat::ColorRef color, const MarkupFonts& fonts);

} // namespace skin
