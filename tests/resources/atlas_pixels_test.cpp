// The shipped atlas against its layout: key colour where no picture lies and where pictures are keyed,
// stretched parts uniform along their stretch, state images telling states apart.

#include "tests/resources/shipped_art.h"

#include <algorithm>
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

// Containers key their arrows with the bottom-right pixel; a drawing that reads past its picture shows the
// key.
TEST_F(ShippedAtlas, IsOpaqueAtItsSizeAndKeyedWhereNoPieceLies) {
    ASSERT_EQ(atlas.size(), QSize(kAtlasWidth, kAtlasHeight));
    EXPECT_TRUE(isKey(atlas.pixel(kAtlasWidth - 1, kAtlasHeight - 1)));
    const auto inPiece = [](int x, int y) {
        return std::any_of(kAtlasPieces.begin(), kAtlasPieces.end(),
                           [&](const AtlasPiece& piece) { return rectOf(piece).contains(x, y); });
    };
    int stray = 0;
    int translucent = 0;
    for (int y = 0; y < kAtlasHeight; ++y) {
        for (int x = 0; x < kAtlasWidth; ++x) {
            translucent += qAlpha(atlas.pixel(x, y)) != 255 ? 1 : 0;
            stray += !isKey(atlas.pixel(x, y)) && !inPiece(x, y) ? 1 : 0;
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
