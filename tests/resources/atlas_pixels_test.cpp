// The shipped atlas against its layout: key colour where no picture lies and where pictures are keyed,
// stretched parts uniform along their stretch, caps holding the ends, state images telling states apart.

#include "tests/resources/shipped_art.h"

#include <gtest/gtest.h>

using namespace skin_art;

namespace {

// Every row (column) of r is one colour: each pixel equals its neighbour along the stretch.
bool uniformAlongX(const QImage& image, const QRect& r) {
    return samePixels(image, r.adjusted(0, 0, -1, 0), r.adjusted(1, 0, 0, 0));
}

bool uniformAlongY(const QImage& image, const QRect& r) {
    return samePixels(image, r.adjusted(0, 0, 0, -1), r.adjusted(0, 1, 0, 0));
}

class ShippedAtlas : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(atlas.isNull()) << "the atlas is not among the embedded resources"; }
    const QImage& atlas = shippedAtlas();
};

} // namespace

TEST_F(ShippedAtlas, IsOpaqueAtItsSizeAndKeyedWhereNoPieceLies) {
    ASSERT_EQ(atlas.size(), QSize(kAtlasWidth, kAtlasHeight));
    // Containers read the key from the bottom-right pixel, the report grid from (270, 106).
    EXPECT_TRUE(isKey(atlas.pixel(634, 480)));
    EXPECT_TRUE(isKey(atlas.pixel(270, 106)));
    EXPECT_FALSE(isKey(atlas.pixel(0, 0)));
    std::vector<bool> covered(static_cast<std::size_t>(kAtlasWidth * kAtlasHeight));
    for (const AtlasPiece& piece : kAtlasPieces) {
        for (int y = piece.y; y < piece.y + piece.height; ++y) {
            for (int x = piece.x; x < piece.x + piece.width; ++x) {
                covered[static_cast<std::size_t>(y * kAtlasWidth + x)] = true;
            }
        }
    }
    int stray = 0;
    int translucent = 0;
    for (int y = 0; y < kAtlasHeight; ++y) {
        for (int x = 0; x < kAtlasWidth; ++x) {
            translucent += qAlpha(atlas.pixel(x, y)) != 255 ? 1 : 0;
            stray +=
                !covered[static_cast<std::size_t>(y * kAtlasWidth + x)] && !isKey(atlas.pixel(x, y)) ? 1 : 0;
        }
    }
    EXPECT_EQ(translucent, 0);
    EXPECT_EQ(stray, 0);
}

// Plain pieces show no key colour; keyed ones are a shape on it, with keyed corners.
TEST_F(ShippedAtlas, EachPieceKeysAsItsTableSays) {
    for (const AtlasPiece& piece : kAtlasPieces) {
        const QRect r = rectOf(piece);
        if (piece.keyed) {
            EXPECT_TRUE(cornersKeyed(atlas, r)) << piece.name;
            const int area = piece.width * piece.height;
            EXPECT_GT(area - keyPixels(atlas, r), area / 20) << piece.name;
        } else {
            EXPECT_EQ(keyPixels(atlas, r), 0) << piece.name;
        }
    }
}

TEST_F(ShippedAtlas, StretchedPartsAreUniformAlongTheStretch) {
    for (const AtlasPiece& piece : kAtlasPieces) {
        const QRect r = rectOf(piece);
        const bool alongX = piece.fit == Fit::StretchX || piece.fit == Fit::StretchXY;
        const bool alongY = piece.fit == Fit::StretchY || piece.fit == Fit::StretchXY;
        EXPECT_TRUE(!alongX || uniformAlongX(atlas, r)) << piece.name;
        EXPECT_TRUE(!alongY || uniformAlongY(atlas, r)) << piece.name;
        if (piece.fit == Fit::NineSlice) {
            EXPECT_TRUE(uniformAlongY(atlas, r.adjusted(0, piece.capY, 0, -piece.capY))) << piece.name;
        }
        if (piece.fit == Fit::NineSlice || piece.fit == Fit::ThreeSliceX) {
            EXPECT_TRUE(uniformAlongX(atlas, r.adjusted(piece.capX, 0, -piece.capX, 0))) << piece.name;
        }
    }
}

// A cap earns its place: some column (row) of the caps differs from the stretched middle, so the caps carry
// the picture's ends.
TEST_F(ShippedAtlas, CapsHoldTheEnds) {
    for (const AtlasPiece& piece : kAtlasPieces) {
        if (piece.fit != Fit::ThreeSliceX && piece.fit != Fit::NineSlice) {
            continue;
        }
        const QRect r = rectOf(piece);
        const auto column = [&](int x) { return QRect(x, r.top(), 1, r.height()); };
        const auto row = [&](int y) { return QRect(r.left(), y, r.width(), 1); };
        const QRect middleColumn = column(r.left() + piece.width / 2);
        const QRect middleRow = row(r.top() + piece.height / 2);
        bool columnsDiffer = false;
        for (int i = 0; i < piece.capX; ++i) {
            columnsDiffer = columnsDiffer || !samePixels(atlas, column(r.left() + i), middleColumn) ||
                            !samePixels(atlas, column(r.right() - i), middleColumn);
        }
        EXPECT_TRUE(columnsDiffer) << piece.name;
        bool rowsDiffer = piece.fit != Fit::NineSlice;
        for (int i = 0; i < piece.capY; ++i) {
            rowsDiffer = rowsDiffer || !samePixels(atlas, row(r.top() + i), middleRow) ||
                         !samePixels(atlas, row(r.bottom() - i), middleRow);
        }
        EXPECT_TRUE(rowsDiffer) << piece.name;
    }
}

TEST_F(ShippedAtlas, StateImagesOfAControlDiffer) {
    for (const AtlasPiece& a : kAtlasPieces) {
        for (const AtlasPiece& b : kAtlasPieces) {
            if (&a < &b && a.state != State::Only && b.state != State::Only && a.state != b.state &&
                a.name.substr(0, a.name.rfind('.')) == b.name.substr(0, b.name.rfind('.')) &&
                rectOf(a).size() == rectOf(b).size()) {
                EXPECT_FALSE(samePixels(atlas, rectOf(a), rectOf(b))) << a.name << " looks like " << b.name;
            }
        }
    }
}

// The title bar's last row and the bottom corners meet the 3-px border the dialog fills in RGB(0, 100, 168);
// the caption buttons sit on the bar at y 4 and carry its rows seamlessly.
TEST_F(ShippedAtlas, WindowFrameAndCaptionButtonsMeetTheBorderAndTheBar) {
    const QRgb border = qRgb(0, 100, 168);
    const AtlasPiece& bar = atlasPiece("title.bar");
    EXPECT_EQ(atlas.pixel(bar.x, bar.y + bar.height - 1), border);
    const QRect left = rectOf(atlasPiece("frame.cornerBottomLeft"));
    EXPECT_EQ(atlas.pixel(left.topLeft()), border);
    EXPECT_EQ(atlas.pixel(left.bottomRight()), border);
    const QRect right = rectOf(atlasPiece("frame.cornerBottomRight"));
    EXPECT_EQ(atlas.pixel(right.topRight()), border);
    EXPECT_EQ(atlas.pixel(right.bottomLeft()), border);
    for (const AtlasPiece* piece :
         {&atlasPiece("caption.minimize.normal"), &atlasPiece("caption.maximize.normal"),
          &atlasPiece("caption.restore.normal"), &atlasPiece("caption.close.normal")}) {
        EXPECT_TRUE(samePixels(atlas, QRect(piece->x, piece->y, 1, piece->height),
                               QRect(bar.x, bar.y + 4, 1, piece->height)))
            << piece->name;
    }
}

// The busy animation turns: eight different frames, white (so transparent in the tab) at their corners.
TEST_F(ShippedAtlas, BusyStripHoldsEightDistinctFrames) {
    const AtlasPiece& strip = atlasPiece("tab.busy");
    constexpr int kFrame = 16;
    ASSERT_EQ(strip.height, kFrame * 8);
    for (int i = 0; i < 8; ++i) {
        const QRect frame(strip.x, strip.y + i * kFrame, kFrame, kFrame);
        EXPECT_EQ(qBlue(atlas.pixel(frame.topLeft())), 255);
        for (int j = i + 1; j < 8; ++j) {
            EXPECT_FALSE(samePixels(atlas, frame, frame.translated(0, (j - i) * kFrame))) << i << " vs " << j;
        }
    }
}
