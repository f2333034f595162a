// The shipped atlas against its layout: key colour where no picture lies and where pictures are keyed,
// stretched parts uniform along their stretch, state images telling states apart.

#include "tests/resources/shipped_art.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace skin_art;

namespace {

// Every row (column) of r is one colour: each pixel equals its neighbour along the stretch.
bool UniformAlongX(const QImage& image, const QRect& r) {
    return SamePixels(image, r.adjusted(0, 0, -1, 0), r.adjusted(1, 0, 0, 0));
}

bool UniformAlongY(const QImage& image, const QRect& r) {
    return SamePixels(image, r.adjusted(0, 0, 0, -1), r.adjusted(0, 1, 0, 0));
}

class ShippedAtlas : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(m_atlas.isNull()) << "the atlas is not among the embedded resources";
    }
    const QImage& m_atlas = ShippedAtlasImage();
};

} // namespace

// Containers key their arrows with the bottom-right pixel; a drawing that reads past its picture shows the
// key.
TEST_F(ShippedAtlas, IsOpaqueAtItsSizeAndKeyedWhereNoPieceLies) {
    ASSERT_EQ(m_atlas.size(), QSize(kAtlasWidth, kAtlasHeight));
    EXPECT_TRUE(IsKey(m_atlas.pixel(kAtlasWidth - 1, kAtlasHeight - 1)));
    const auto inPiece = [](int x, int y) {
        return std::any_of(kAtlasPieces.begin(), kAtlasPieces.end(),
                           [&](const AtlasPiece& piece) { return RectOf(piece).contains(x, y); });
    };
    int stray = 0;
    int translucent = 0;
    for (int y = 0; y < kAtlasHeight; ++y) {
        for (int x = 0; x < kAtlasWidth; ++x) {
            translucent += qAlpha(m_atlas.pixel(x, y)) != 255 ? 1 : 0;
            stray += !IsKey(m_atlas.pixel(x, y)) && !inPiece(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(translucent, 0);
    EXPECT_EQ(stray, 0);
}

// Plain pieces show no key colour; keyed ones are a shape on it, with keyed corners. Stretched parts are one
// colour along their stretch, so stretching adds no streaks.
TEST_F(ShippedAtlas, EachPieceKeysAndStretchesAsItsTableSays) {
    for (const AtlasPiece& piece : kAtlasPieces) {
        const QRect r = RectOf(piece);
        const int area = piece.width * piece.height;
        EXPECT_TRUE(piece.keyed ? CornersKeyed(m_atlas, r) && area - KeyPixels(m_atlas, r) > area / 20
                                : KeyPixels(m_atlas, r) == 0)
            << piece.name;
        const bool nine = piece.fit == Fit::NineSlice;
        const QRect middleColumns = r.adjusted(piece.capX, 0, -piece.capX, 0);
        const bool alongX = piece.fit == Fit::StretchX || piece.fit == Fit::StretchXY || nine ||
                            piece.fit == Fit::ThreeSliceX;
        const bool alongY = piece.fit == Fit::StretchY || piece.fit == Fit::StretchXY || nine;
        EXPECT_TRUE(!alongX || UniformAlongX(m_atlas, middleColumns)) << piece.name;
        EXPECT_TRUE(!alongY || UniformAlongY(m_atlas, r.adjusted(0, piece.capY, 0, -piece.capY)))
            << piece.name;
    }
}

TEST_F(ShippedAtlas, StateImagesOfAControlDiffer) {
    for (const AtlasPiece& a : kAtlasPieces) {
        for (const AtlasPiece& b : kAtlasPieces)
            EXPECT_FALSE(&a < &b && a.state != State::Only && b.state != State::Only && a.state != b.state &&
                         a.name.substr(0, a.name.rfind('.')) == b.name.substr(0, b.name.rfind('.')) &&
                         RectOf(a).size() == RectOf(b).size() && SamePixels(m_atlas, RectOf(a), RectOf(b)))
                << a.name << " looks like " << b.name;
    }
}

// The busy animation turns: square frames, each different, white (so transparent in the tab) at its corner.
TEST_F(ShippedAtlas, BusyStripHoldsDistinctFrames) {
    const QRect strip = RectOf(PieceByName("tab.busy"));
    const int side = strip.width();
    ASSERT_EQ(strip.height() % side, 0);
    for (int top = strip.top(); top < strip.bottom(); top += side) {
        const QRect frame(strip.left(), top, side, side);
        EXPECT_EQ(qBlue(m_atlas.pixel(frame.topLeft())), 255);
        for (int other = top + side; other < strip.bottom(); other += side) {
            EXPECT_FALSE(SamePixels(m_atlas, frame, frame.translated(0, other - top)))
                << top << " vs " << other;
        }
    }
}
