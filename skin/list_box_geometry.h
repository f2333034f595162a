#pragma once

#include "skin/skin_list_box_column.h"

#include <QString>
#include <QtGlobal>
#include <array>
#include <vector>

// The arithmetic of the report grid's layout and cells, apart from painting. Row positions are 64-bit: a
// million rows at 15 px are 15 million pixels, and the designed maximum row count overflows 32 bits.

namespace skin {

// Shares the room left after every column's base width (times fontScale, the grid's font against the one
// the widths were given for) among the columns in proportion to their widths; nothing shrinks below its
// scaled base (or minimum) width. Group heads take no width.
void DistributeColumnWidths(std::vector<CSkinListBox_Column>& columns, int availableWidth,
                            float fontScale = 1.0f);

// Rows [first, end) of count rows that show between the header and the bottom of a view height pixels tall,
// scrolled down by scrollY.
struct RowRange {
    qint64 first = 0;
    qint64 end = 0;
};
RowRange PaintedRows(qint64 count, qint64 scrollY, int header, int pitch, int height);

// Height of the scrollable rows: every row plus the grid line under the last, capped to what an int holds.
int RowsContentHeight(qint64 count, int pitch);

// A percentage cell's "value total" (hexadecimal, as "%X %X" prints them); a total of 1 or less counts as 1,
// and what cannot be read is 0.
struct BarValue {
    int value = 0;
    int total = 1;
};
BarValue ParseBarText(const QString& text);
// The filled part of a track, clamped to it: values above the total fill it, negative ones leave it empty.
int BarFillWidth(int track, const BarValue& bar);
// "50.0% (5)"; empty for a value of 0.
QString BarLabel(const BarValue& bar);

// The twelve values of a mini chart ("%d %d ..."), each clamped to 0..100; values that cannot be read are 0.
std::array<int, 12> ParseChartValues(const QString& text);

} // namespace skin
