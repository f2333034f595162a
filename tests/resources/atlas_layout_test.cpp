// The layout table itself: every piece lies in the atlas, pictures do not overlap, slices are cut sensibly
// and state images come in the order the controls pick them.

#include "tools/skin_art/atlas_layout.h"

#include <QRect>
#include <gtest/gtest.h>
#include <set>

using namespace skin_art;

namespace {

QRect rect(const AtlasPiece& piece) {
    return {piece.x, piece.y, piece.width, piece.height};
}

std::string_view family(std::string_view name) {
    return name.substr(0, name.rfind('.'));
}

} // namespace

TEST(AtlasLayout, EveryPieceLiesInsideTheAtlas) {
    const QRect atlas(0, 0, kAtlasWidth, kAtlasHeight);
    for (const AtlasPiece& piece : kAtlasPieces) {
        EXPECT_GT(piece.width, 0) << piece.name;
        EXPECT_GT(piece.height, 0) << piece.name;
        EXPECT_TRUE(atlas.contains(rect(piece))) << piece.name;
    }
}

TEST(AtlasLayout, NamesAreUnique) {
    std::set<std::string_view> names;
    for (const AtlasPiece& piece : kAtlasPieces) {
        EXPECT_TRUE(names.insert(piece.name).second) << piece.name;
    }
}

TEST(AtlasLayout, DifferentPicturesDoNotOverlap) {
    for (const AtlasPiece& a : kAtlasPieces) {
        for (const AtlasPiece& b : kAtlasPieces) {
            if (&a < &b && a.image != b.image) {
                EXPECT_FALSE(rect(a).intersects(rect(b))) << a.name << " overlaps " << b.name;
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
        if (piece.state == State::Only || before.state == State::Only) {
            continue;
        }
        if (family(before.name) == family(piece.name)) {
            EXPECT_LT(static_cast<int>(before.state), static_cast<int>(piece.state)) << piece.name;
        }
    }
}

TEST(AtlasLayout, KeyColourReadPointsAreKeyedPieces) {
    // The grid, the slider and the containers read their key colour from these atlas pixels.
    const QPoint gridKey(270, 106);
    const QPoint sliderKey(atlasPiece("slider.thumb.normal").x, atlasPiece("slider.thumb.normal").y);
    EXPECT_EQ(QPoint(atlasPiece("grid.filterOff.normal").x, atlasPiece("grid.filterOff.normal").y), gridKey);
    EXPECT_TRUE(atlasPiece("grid.filterOff.normal").keyed);
    EXPECT_EQ(sliderKey, QPoint(131, 67));
    EXPECT_TRUE(atlasPiece("slider.thumb.normal").keyed);
    for (const AtlasPiece& piece : kAtlasPieces) {
        EXPECT_FALSE(rect(piece).contains(kAtlasWidth - 1, kAtlasHeight - 1)) << piece.name;
    }
}
