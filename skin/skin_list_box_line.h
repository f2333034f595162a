#pragma once

#include "platform/color.h"
#include "skin/skin_list_box_item.h"

#include <vector>

// One painted line of a report grid: which row it shows, where, in which colours, and its cells.
struct CSkinListBox_Line {
    static constexpr plat::ColorRef kTextColor = plat::Rgb(0, 54, 92);
    static constexpr plat::ColorRef kBackground = plat::Rgb(242, 249, 229);
    static constexpr plat::ColorRef kHoverBackground = plat::Rgb(216, 238, 178);

    int row = 0;  // position in the visible order
    int item = 0; // the report's item index
    int x = 0;    // the negated horizontal scroll offset
    int y = 0;    // top in the grid's back buffer
    // Set by the report for rows that hold data.
    bool rowFlag = false;
    // Set by a reader that wants the cells' texts alone (export, copy, a filter's values): the cells are then
    // not measured, and their rectangles stay empty.
    bool textsOnly = false;
    plat::ColorRef textColor = kTextColor;
    plat::ColorRef background = kBackground;
    plat::ColorRef hoverBackground = kHoverBackground;
    std::vector<CSkinListBox_Item> cells;
};
