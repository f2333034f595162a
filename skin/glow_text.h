#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "skin/glow_text_cache.h"
#include "skin/markup_draw.h"

#include <QString>

namespace skin {

// Title markup at (x, y) in textColor over a soft halo of glowColor, the halo's strength divided by divisor.
// The halo is blurred once per text and look and kept in cache. Answers the text's size.
plat::Size DrawGlowMarkup(plat::DeviceContext& dc, const QString& text, int x, int y,
                          plat::ColorRef textColor, plat::ColorRef glowColor, const MarkupFonts& fonts,
                          int divisor, GlowTextCache& cache);

} // namespace skin
