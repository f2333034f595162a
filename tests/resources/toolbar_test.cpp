// The shipped toolbar sprites: one 36-px cell per button and state, keyed around each pictogram.

#include "resources/skin_resources.h"
#include "resources/toolbar_layout.h"
#include "tests/resources/shipped_art.h"

#include <gtest/gtest.h>

using namespace skin_art;

namespace {

QRect cell(int column, int row) {
    return {column * kToolbarCell, row * kToolbarCell, kToolbarCell, kToolbarCell};
}

class ShippedToolbar : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(sheet.isNull()) << "the toolbar is not among the embedded resources";
    }
    int shown(int column, int row) const {
        return kToolbarCell * kToolbarCell - keyPixels(sheet, cell(column, row));
    }
    const QImage sheet = loadShipped(skin_resources::toolbarPath());
};

} // namespace

// The icon buttons key the sheet only when its top-left and bottom-right pixels agree.
TEST_F(ShippedToolbar, EveryCellHoldsAPictogramInsideKeyedCorners) {
    ASSERT_EQ(sheet.size(), QSize(288, 108));
    EXPECT_EQ(sheet.pixel(0, 0), sheet.pixel(287, 107));
    for (int column = 0; column < kToolbarColumns; ++column) {
        for (int row = 0; row < kToolbarRows; ++row) {
            EXPECT_TRUE(cornersKeyed(sheet, cell(column, row))) << "cell " << column << "," << row;
            EXPECT_GT(shown(column, row), kToolbarCell * kToolbarCell / 16)
                << "cell " << column << "," << row;
        }
    }
}

// Buttons and states look different; the hot and pressed rows show the state around the pictogram, the
// normal row leaves the band showing.
TEST_F(ShippedToolbar, StatesAndButtonsLookDifferent) {
    for (int column = 0; column < kToolbarColumns; ++column) {
        EXPECT_FALSE(samePixels(sheet, cell(column, 0), cell(column, 1))) << "column " << column;
        EXPECT_FALSE(samePixels(sheet, cell(column, 1), cell(column, 2))) << "column " << column;
        EXPECT_LT(shown(column, 0), shown(column, 1)) << column;
        EXPECT_LT(shown(column, 0), shown(column, 2)) << column;
        for (int other = column + 1; other < kToolbarColumns; ++other) {
            EXPECT_FALSE(samePixels(sheet, cell(column, 0), cell(other, 0))) << column << " vs " << other;
        }
    }
}
