// The layout table itself: every piece lies in the atlas, pictures do not overlap, slices are cut sensibly
// and state images come in the order the controls pick them.

#include "tests/resources/shipped_art.h"

#include <gtest/gtest.h>
#include <set>

using namespace skin_art;

namespace {

std::string_view family(std::string_view name) {
    return name.substr(0, name.rfind('.'));
}

} // namespace

TEST(AtlasLayout, PiecesAreNamedOnceAndLieInsideTheAtlas) {
    const QRect atlas(0, 0, kAtlasWidth, kAtlasHeight);
    std::set<std::string_view> names;
    for (const AtlasPiece& piece : kAtlasPieces) {
        EXPECT_TRUE(names.insert(piece.name).second) << piece.name;
        EXPECT_FALSE(rectOf(piece).isEmpty()) << piece.name;
        EXPECT_TRUE(atlas.contains(rectOf(piece))) << piece.name;
    }
}

TEST(AtlasLayout, DifferentPicturesDoNotOverlap) {
    for (const AtlasPiece& a : kAtlasPieces) {
        for (const AtlasPiece& b : kAtlasPieces) {
            if (&a < &b && a.image != b.image) {
                EXPECT_FALSE(rectOf(a).intersects(rectOf(b))) << a.name << " overlaps " << b.name;
            }
        }
    }
}

TEST(AtlasLayout, SliceCapsLeaveAMiddle) {
    for (const AtlasPiece& piece : kAtlasPieces) {
        switch (piece.fit) {
        case Fit::NineSlice:
            EXPECT_GT(piece.capY, 0) << piece.name;
            EXPECT_LT(2 * piece.capY, piece.height) << piece.name;
            [[fallthrough]];
        case Fit::ThreeSliceX:
            EXPECT_GT(piece.capX, 0) << piece.name;
            EXPECT_LT(2 * piece.capX, piece.width) << piece.name;
            break;
        default:
            EXPECT_EQ(piece.capX, 0) << piece.name;
            EXPECT_EQ(piece.capY, 0) << piece.name;
        }
    }
}

TEST(AtlasLayout, StateImagesFollowNormalHotDisabledPressed) {
    for (std::size_t i = 1; i < kAtlasPieces.size(); ++i) {
        const AtlasPiece& before = kAtlasPieces[i - 1];
        const AtlasPiece& piece = kAtlasPieces[i];
        if (piece.state != State::Only && before.state != State::Only &&
            family(before.name) == family(piece.name)) {
            EXPECT_LT(static_cast<int>(before.state), static_cast<int>(piece.state)) << piece.name;
        }
    }
}

// The grid and the slider read their key colour from these pixels, the containers from the bottom-right one.
TEST(AtlasLayout, KeyColourReadPointsAreKeyedPiecesOrBareAtlas) {
    for (const QPoint point : {QPoint(270, 106), QPoint(131, 67)}) {
        bool keyedCorner = false;
        for (const AtlasPiece& piece : kAtlasPieces) {
            keyedCorner = keyedCorner || (piece.keyed && rectOf(piece).topLeft() == point);
        }
        EXPECT_TRUE(keyedCorner) << point.x() << "," << point.y();
    }
    for (const AtlasPiece& piece : kAtlasPieces) {
        EXPECT_FALSE(rectOf(piece).contains(kAtlasWidth - 1, kAtlasHeight - 1)) << piece.name;
    }
}
