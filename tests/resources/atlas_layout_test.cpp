// The layout table itself: every piece lies in the atlas once, pictures do not overlap and slices are cut so
// that a middle is left to stretch.

#include "tests/resources/shipped_art.h"

#include <gtest/gtest.h>
#include <set>

using namespace skin_art;

TEST(AtlasLayout, PiecesAreNamedOnceLieInsideTheAtlasAndPicturesDoNotOverlap) {
    const QRect atlas(0, 0, kAtlasWidth, kAtlasHeight);
    std::set<std::string_view> names;
    for (const AtlasPiece& a : kAtlasPieces) {
        EXPECT_TRUE(names.insert(a.name).second) << a.name;
        EXPECT_FALSE(RectOf(a).isEmpty()) << a.name;
        EXPECT_TRUE(atlas.contains(RectOf(a))) << a.name;
        for (const AtlasPiece& b : kAtlasPieces)
            EXPECT_FALSE(&a < &b && a.image != b.image && RectOf(a).intersects(RectOf(b)))
                << a.name << " overlaps " << b.name;
    }
}

TEST(AtlasLayout, SliceCapsLeaveAMiddle) {
    for (const AtlasPiece& piece : kAtlasPieces) {
        const bool nine = piece.fit == Fit::NineSlice;
        if (nine || piece.fit == Fit::ThreeSliceX) {
            EXPECT_GT(piece.capX, 0) << piece.name;
            EXPECT_LT(2 * piece.capX, piece.width) << piece.name;
        }
        if (nine) {
            EXPECT_GT(piece.capY, 0) << piece.name;
            EXPECT_LT(2 * piece.capY, piece.height) << piece.name;
        }
    }
}
