#pragma once

#include "platform/font.h"
#include "platform/geometry.h"
#include "skin/tooltip_link.h"

#include <QString>
#include <vector>

namespace skin {

// Tooltip text broken into lines: one line as long as it fits in the widest allowed line, else wrapped
// between words. The link's rectangle comes from the same lines that are drawn, so a click lands on it. A
// tooltip stays on a screen: a word too wide for kTooltipWidestLine and a line past kTooltipMaxLines are
// cut, the last line shown ending in an ellipsis.
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
inline constexpr int kTooltipWidestLine = 4 * kTooltipMaxTextWidth;
inline constexpr int kTooltipMaxLines = 30;

TooltipLayout LayoutTooltip(const QString& text, const plat::Font& font, int maxWidth = kTooltipMaxTextWidth);

// Where a tooltip of the given size shows for the pointer at cursor: its left edge a third of its width left
// of the pointer and its top 30 px below it, moved inside workArea (the work area of the screen under the
// pointer). One that does not fit below the pointer shows above it, so it never covers the pointer.
plat::Rect PlaceTooltip(plat::Point cursor, plat::Size size, const plat::Rect& workArea);

} // namespace skin
