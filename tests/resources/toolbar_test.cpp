// The shipped toolbar sprites: one 36-px cell per button and state, keyed around each pictogram.

#include "resources/skin_resources.h"
#include "tests/resources/shipped_art.h"
#include "tools/skin_art/toolbar_layout.h"

#include <gtest/gtest.h>

using namespace skin_art;

namespace {

QRect cell(int column, int row) {
    return {column * kToolbarCell, row * kToolbarCell, kToolbarCell, kToolbarCell};
}

int shownPixels(const QImage& image, const QRect& r) {
    int shown = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            shown += isKey(image.pixel(x, y)) ? 0 : 1;
        }
    }
    return shown;
}

bool samePixels(const QImage& image, const QRect& a, const QRect& b) {
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (image.pixel(a.x() + x, a.y() + y) != image.pixel(b.x() + x, b.y() + y)) {
                return false;
            }
        }
    }
    return true;
}

class ShippedToolbar : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(sheet.isNull()) << "the toolbar is not among the embedded resources";
    }
    const QImage sheet = loadShipped(skin_resources::toolbarPath());
};

} // namespace

// The icon buttons key the sheet only when its top-left and bottom-right pixels agree.
TEST_F(ShippedToolbar, HasItsSizeAndKeyedCorners) {
    EXPECT_EQ(sheet.size(), QSize(288, 108));
    EXPECT_TRUE(isKey(sheet.pixel(0, 0)));
    EXPECT_TRUE(isKey(sheet.pixel(287, 107)));
    EXPECT_EQ(sheet.pixel(0, 0), sheet.pixel(287, 107));
}

TEST_F(ShippedToolbar, EveryCellHoldsAPictogramInsideKeyedCorners) {
    for (int column = 0; column < kToolbarColumns; ++column) {
        for (int row = 0; row < kToolbarRows; ++row) {
            const QRect r = cell(column, row);
            EXPECT_TRUE(isKey(sheet.pixel(r.topLeft())) && isKey(sheet.pixel(r.topRight())) &&
                        isKey(sheet.pixel(r.bottomLeft())) && isKey(sheet.pixel(r.bottomRight())))
                << "cell " << column << "," << row;
            EXPECT_GT(shownPixels(sheet, r), kToolbarCell * kToolbarCell / 16)
                << "cell " << column << "," << row;
        }
    }
}

TEST_F(ShippedToolbar, StatesAndButtonsLookDifferent) {
    for (int column = 0; column < kToolbarColumns; ++column) {
        EXPECT_FALSE(samePixels(sheet, cell(column, 0), cell(column, 1))) << "column " << column;
        EXPECT_FALSE(samePixels(sheet, cell(column, 1), cell(column, 2))) << "column " << column;
        EXPECT_FALSE(samePixels(sheet, cell(column, 0), cell(column, 2))) << "column " << column;
        for (int other = column + 1; other < kToolbarColumns; ++other) {
            EXPECT_FALSE(samePixels(sheet, cell(column, 0), cell(other, 0))) << column << " vs " << other;
        }
    }
}

// The hot and pressed rows show the state around the pictogram; the normal row leaves the band showing.
TEST_F(ShippedToolbar, NormalRowKeysMoreThanHotAndPressedRows) {
    for (int column = 0; column < kToolbarColumns; ++column) {
        EXPECT_LT(shownPixels(sheet, cell(column, 0)), shownPixels(sheet, cell(column, 1))) << column;
        EXPECT_LT(shownPixels(sheet, cell(column, 0)), shownPixels(sheet, cell(column, 2))) << column;
    }
}
