// The shipped application icons and the paths that reach the embedded art.

#include "resources/skin_resources.h"
#include "tests/resources/shipped_art.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(SkinResources, PathsLieUnderTheSkinPrefix) {
    EXPECT_EQ(skin_resources::atlasPath(), QStringLiteral(":/skin/atlas.png"));
    EXPECT_EQ(skin_resources::toolbarPath(), QStringLiteral(":/skin/toolbar.png"));
    EXPECT_EQ(skin_resources::iconPath(16), QStringLiteral(":/skin/icon_16.png"));
    EXPECT_EQ(skin_resources::iconPath(256), QStringLiteral(":/skin/icon_256.png"));
}

TEST(SkinResources, NoPathForASizeWeDoNotShip) {
    EXPECT_TRUE(skin_resources::iconPath(0).isEmpty());
    EXPECT_TRUE(skin_resources::iconPath(20).isEmpty());
    EXPECT_TRUE(skin_resources::iconPath(-16).isEmpty());
    EXPECT_FALSE(QFile::exists(QStringLiteral(":/skin/icon_20.png")));
}

TEST(SkinResources, EveryIconIsEmbeddedAtItsSize) {
    for (int size : skin_resources::kIconSizes) {
        const QImage icon = loadShipped(skin_resources::iconPath(size));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel()) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 4)), 255) << size; // the emblem fills the middle
    }
}

// Large icons keep a transparent margin around the rounded emblem, so they sit well among other icons.
TEST(SkinResources, LargeIconsAreTransparentAtTheirCorners) {
    for (int size : skin_resources::kIconSizes) {
        if (size < 48) {
            continue;
        }
        const QImage icon = loadShipped(skin_resources::iconPath(size));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size - 1, size - 1)), 0) << size;
    }
}
