// The shipped atlas against its layout: key colour where no picture lies and where pictures are keyed,
// stretched parts uniform along their stretch, caps holding the ends, state images telling states apart.

#include "tests/resources/shipped_art.h"

#include <gtest/gtest.h>
#include <string_view>

using namespace skin_art;

namespace {

bool rowUniform(const QImage& image, const QRect& r, int y) {
    for (int x = r.left() + 1; x <= r.right(); ++x) {
        if (image.pixel(x, y) != image.pixel(r.left(), y)) {
            return false;
        }
    }
    return true;
}

bool columnUniform(const QImage& image, const QRect& r, int x) {
    for (int y = r.top() + 1; y <= r.bottom(); ++y) {
        if (image.pixel(x, y) != image.pixel(x, r.top())) {
            return false;
        }
    }
    return true;
}

// Every row of r is one colour: r can be stretched horizontally without a seam.
void expectUniformAlongX(const QImage& image, const QRect& r, std::string_view name) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        EXPECT_TRUE(rowUniform(image, r, y)) << name << " row " << y;
    }
}

void expectUniformAlongY(const QImage& image, const QRect& r, std::string_view name) {
    for (int x = r.left(); x <= r.right(); ++x) {
        EXPECT_TRUE(columnUniform(image, r, x)) << name << " column " << x;
    }
}

bool sameColumn(const QImage& image, int xa, int xb, int top, int bottom) {
    for (int y = top; y <= bottom; ++y) {
        if (image.pixel(xa, y) != image.pixel(xb, y)) {
            return false;
        }
    }
    return true;
}

bool sameRow(const QImage& image, int ya, int yb, int left, int right) {
    for (int x = left; x <= right; ++x) {
        if (image.pixel(x, ya) != image.pixel(x, yb)) {
            return false;
        }
    }
    return true;
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

class ShippedAtlas : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(atlas.isNull()) << "the atlas is not among the embedded resources"; }
    const QImage& atlas = shippedAtlas();
};

} // namespace

TEST_F(ShippedAtlas, HasTheAtlasSizeAndItsKeyPixels) {
    EXPECT_EQ(atlas.size(), QSize(kAtlasWidth, kAtlasHeight));
    // Containers read the key from the bottom-right pixel, the report grid from (270, 106).
    EXPECT_TRUE(isKey(atlas.pixel(634, 480)));
    EXPECT_TRUE(isKey(atlas.pixel(270, 106)));
    EXPECT_FALSE(isKey(atlas.pixel(0, 0)));
}

TEST_F(ShippedAtlas, IsOpaque) {
    for (int y = 0; y < atlas.height(); ++y) {
        for (int x = 0; x < atlas.width(); ++x) {
            ASSERT_EQ(qAlpha(atlas.pixel(x, y)), 255) << x << "," << y;
        }
    }
}

TEST_F(ShippedAtlas, KeyColourWhereNoPieceLies) {
    std::vector<bool> covered(static_cast<std::size_t>(kAtlasWidth * kAtlasHeight));
    for (const AtlasPiece& piece : kAtlasPieces) {
        for (int y = piece.y; y < piece.y + piece.height; ++y) {
            for (int x = piece.x; x < piece.x + piece.width; ++x) {
                covered[static_cast<std::size_t>(y * kAtlasWidth + x)] = true;
            }
        }
    }
    int stray = 0;
    for (int y = 0; y < kAtlasHeight; ++y) {
        for (int x = 0; x < kAtlasWidth; ++x) {
            if (!covered[static_cast<std::size_t>(y * kAtlasWidth + x)] && !isKey(atlas.pixel(x, y))) {
                ++stray;
            }
        }
    }
    EXPECT_EQ(stray, 0);
}

TEST_F(ShippedAtlas, PlainPiecesShowNoKeyColour) {
    for (const AtlasPiece& piece : kAtlasPieces) {
        if (piece.keyed) {
            continue;
        }
        const QRect r = rectOf(piece);
        int keyPixels = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                keyPixels += isKey(atlas.pixel(x, y)) ? 1 : 0;
            }
        }
        EXPECT_EQ(keyPixels, 0) << piece.name;
    }
}

TEST_F(ShippedAtlas, KeyedPiecesAreShapesOnTheKeyColour) {
    for (const AtlasPiece& piece : kAtlasPieces) {
        if (!piece.keyed) {
            continue;
        }
        const QRect r = rectOf(piece);
        EXPECT_TRUE(isKey(atlas.pixel(r.topLeft())) && isKey(atlas.pixel(r.topRight())) &&
                    isKey(atlas.pixel(r.bottomLeft())) && isKey(atlas.pixel(r.bottomRight())))
            << piece.name;
        int shown = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                shown += isKey(atlas.pixel(x, y)) ? 0 : 1;
            }
        }
        EXPECT_GT(shown, piece.width * piece.height / 20) << piece.name;
    }
}

TEST_F(ShippedAtlas, StretchedPartsAreUniformAlongTheStretch) {
    for (const AtlasPiece& piece : kAtlasPieces) {
        const QRect r = rectOf(piece);
        switch (piece.fit) {
        case Fit::Copy:
            break;
        case Fit::StretchX:
            expectUniformAlongX(atlas, r, piece.name);
            break;
        case Fit::StretchY:
            expectUniformAlongY(atlas, r, piece.name);
            break;
        case Fit::StretchXY:
            expectUniformAlongX(atlas, r, piece.name);
            expectUniformAlongY(atlas, r, piece.name);
            break;
        case Fit::NineSlice:
            expectUniformAlongY(atlas, r.adjusted(0, piece.capY, 0, -piece.capY), piece.name);
            [[fallthrough]];
        case Fit::ThreeSliceX:
            expectUniformAlongX(atlas, r.adjusted(piece.capX, 0, -piece.capX, 0), piece.name);
            break;
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
        const int middleX = r.left() + piece.width / 2;
        bool columnsDiffer = false;
        for (int i = 0; i < piece.capX; ++i) {
            columnsDiffer = columnsDiffer || !sameColumn(atlas, r.left() + i, middleX, r.top(), r.bottom()) ||
                            !sameColumn(atlas, r.right() - i, middleX, r.top(), r.bottom());
        }
        EXPECT_TRUE(columnsDiffer) << piece.name;
        if (piece.fit == Fit::NineSlice) {
            const int middleY = r.top() + piece.height / 2;
            bool rowsDiffer = false;
            for (int i = 0; i < piece.capY; ++i) {
                rowsDiffer = rowsDiffer || !sameRow(atlas, r.top() + i, middleY, r.left(), r.right()) ||
                             !sameRow(atlas, r.bottom() - i, middleY, r.left(), r.right());
            }
            EXPECT_TRUE(rowsDiffer) << piece.name;
        }
    }
}

TEST_F(ShippedAtlas, StateImagesOfAControlDiffer) {
    for (const AtlasPiece& a : kAtlasPieces) {
        for (const AtlasPiece& b : kAtlasPieces) {
            if (&a >= &b || a.state == State::Only || b.state == State::Only || a.state == b.state) {
                continue;
            }
            const std::string_view familyA = a.name.substr(0, a.name.rfind('.'));
            const std::string_view familyB = b.name.substr(0, b.name.rfind('.'));
            if (familyA == familyB && a.width == b.width && a.height == b.height) {
                EXPECT_FALSE(samePixels(atlas, rectOf(a), rectOf(b))) << a.name << " looks like " << b.name;
            }
        }
    }
}

// The title bar's last row and the bottom corners meet the 3-px border the dialog fills in RGB(0, 100, 168).
TEST_F(ShippedAtlas, WindowFrameMeetsTheBorderColour) {
    const QRgb border = qRgb(0, 100, 168);
    const AtlasPiece& bar = atlasPiece("title.bar");
    EXPECT_EQ(atlas.pixel(bar.x, bar.y + bar.height - 1), border);
    const AtlasPiece& left = atlasPiece("frame.cornerBottomLeft");
    EXPECT_EQ(atlas.pixel(left.x, left.y), border); // continues the left border
    EXPECT_EQ(atlas.pixel(left.x + left.width - 1, left.y + left.height - 1), border); // and the bottom one
    const AtlasPiece& right = atlasPiece("frame.cornerBottomRight");
    EXPECT_EQ(atlas.pixel(right.x + right.width - 1, right.y), border);
    EXPECT_EQ(atlas.pixel(right.x, right.y + right.height - 1), border);
}

// The caption buttons sit on the title bar at y 4: their backgrounds carry the bar's rows seamlessly.
TEST_F(ShippedAtlas, CaptionButtonsBlendIntoTheTitleBar) {
    const AtlasPiece& bar = atlasPiece("title.bar");
    for (const AtlasPiece* piece :
         {&atlasPiece("caption.minimize.normal"), &atlasPiece("caption.maximize.normal"),
          &atlasPiece("caption.restore.normal"), &atlasPiece("caption.close.normal")}) {
        for (int y = 0; y < piece->height; ++y) {
            EXPECT_EQ(atlas.pixel(piece->x, piece->y + y), atlas.pixel(bar.x, bar.y + 4 + y))
                << piece->name << " row " << y;
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
            EXPECT_FALSE(samePixels(atlas, frame, QRect(strip.x, strip.y + j * kFrame, kFrame, kFrame)))
                << "frames " << i << " and " << j;
        }
    }
}
