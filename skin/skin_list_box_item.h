#pragma once

#include "platform/color.h"
#include "platform/geometry.h"

#include <QString>

// One cell of a painted report line, as the report's GetItemText adds it.
struct CSkinListBox_Item {
    // Kinds of cell: how DrawLine paints the text.
    enum Kind {
        kText = 0,
        kSmallText = 1,
        kMarkup = 2,
        kBar = 3,        // "value total" in hexadecimal: a percentage bar with its label
        kBarOther = 4,   // as kBar in the other bar colour
        kBarPlain = 5,   // as kBar without a label
        kLink = 6,       // underlined in blue while the pointer is on it
        kLinkAlways = 7, // always underlined
        kText8 = 8,      // drawn as kText
        kCheck = 9,      // a check mark, ticked when the text is not empty
        kText10 = 10,    // drawn as kText
        kIcon = 11,      // the done mark
        kButton = 12,    // a button face, with an icon when the text is not empty
        kMiniChart = 13, // twelve values out of 100
        kEngine1 = 14,
        kEngine2 = 15,
        kEngine3 = 16,
    };
    // The cell takes its colour from the line.
    static constexpr plat::ColorRef kLineColor = plat::kInvalidColor;

    int kind = kText;
    // Non-zero cells are links: a release on them goes to OnItemClick and leaves the selection alone.
    int linkId = 0;
    // Column indexes (not ids); they differ for a message spanning several columns.
    int firstColumn = 0;
    int lastColumn = 0;
    int align = 1; // 1 left, 2 centre, 3 right
    plat::ColorRef color = kLineColor;
    // Text rectangle in line coordinates, relative to the column's content start.
    plat::Rect rect;
    // The width of the column (or span) when the cell was added.
    int width = 0;
    QString text;
    QString tooltip;
};
