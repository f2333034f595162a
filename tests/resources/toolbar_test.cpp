// The shipped toolbar sprites: one cell per button and state, keyed around each pictogram.

#include "resources/skin_resources.h"
#include "resources/toolbar_layout.h"
#include "tests/resources/shipped_art.h"

#include <gtest/gtest.h>

using namespace skin_art;

// Icon buttons key a sheet only when its top-left and bottom-right pixels agree. Buttons and states look
// different; the hot and pressed cells show their state around the pictogram, the normal one lets the band
// show through.
TEST(ShippedToolbar, EveryCellHoldsAKeyedPictogramAndStatesAndButtonsDiffer) {
    const QImage sheet = LoadShipped(skin_resources::ToolbarPath());
    ASSERT_EQ(sheet.size(), QSize(kToolbarWidth, kToolbarHeight));
    EXPECT_EQ(sheet.pixel(0, 0), sheet.pixel(kToolbarWidth - 1, kToolbarHeight - 1));
    const auto cell = [](int column, int row) {
        return QRect(column * kToolbarCell, row * kToolbarCell, kToolbarCell, kToolbarCell);
    };
    const auto shown = [&](int column, int row) {
        return kToolbarCell * kToolbarCell - KeyPixels(sheet, cell(column, row));
    };
    for (int column = 0; column < kToolbarColumns; ++column) {
        for (int row = 0; row < kToolbarRows; ++row) {
            EXPECT_TRUE(CornersKeyed(sheet, cell(column, row))) << column << "," << row;
            EXPECT_GT(shown(column, row), kToolbarCell * kToolbarCell / 16) << column << "," << row;
        }
        EXPECT_FALSE(SamePixels(sheet, cell(column, 1), cell(column, 2))) << column;
        EXPECT_LT(shown(column, 0), shown(column, 1)) << column;
        EXPECT_LT(shown(column, 0), shown(column, 2)) << column;
        for (int other = column + 1; other < kToolbarColumns; ++other)
            EXPECT_FALSE(SamePixels(sheet, cell(column, 0), cell(other, 0))) << column << " vs " << other;
    }
}
