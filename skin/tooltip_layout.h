#pragma once

#include "platform/font.h"
#include "platform/geometry.h"
#include "skin/tooltip_link.h"

#include <QString>
#include <vector>

namespace skin {

// Tooltip text broken into lines: one line as long as it fits in the widest allowed line, else wrapped
// between words. The link's rectangle comes from the same lines that are drawn, so a click lands on it.
struct TooltipLayout {
    struct Line {
        QString text;
        qsizetype start = 0; // index of the line's first character in the laid-out text
    };
    std::vector<Line> lines;
    int textWidth = 0;
    int textHeight = 0;
    int lineHeight = 0;
    TooltipLink link;
    plat::Rect linkRect; // relative to the text's top-left corner; empty without a link
};

inline constexpr int kTooltipMaxTextWidth = 350;
inline constexpr int kTooltipMargin = 10;

TooltipLayout LayoutTooltip(const QString& text, const plat::Font& font, int maxWidth = kTooltipMaxTextWidth);

} // namespace skin
