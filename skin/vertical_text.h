#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/font.h"

#include <QString>

// Text turned a quarter left, reading from the bottom up, as axis labels stand under a narrow column.

namespace skin {

// The box the turned text takes: as wide as the font's line height, as tall as the text is long.
plat::Size VerticalTextExtent(const plat::Font& font, const QString& text);

// Draws text turned, its first letter at the bottom: the box's left edge at x, its bottom at bottom.
void DrawVerticalText(plat::DeviceContext& dc, int x, int bottom, const plat::Font& font,
                      plat::ColorRef colour, const QString& text);

} // namespace skin
