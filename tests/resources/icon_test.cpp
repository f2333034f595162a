// The shipped application icons and the paths that reach the embedded art.

#include "resources/skin_resources.h"
#include "tests/resources/shipped_art.h"

#include <gtest/gtest.h>

// Every icon is embedded at its size with the emblem opaque in the middle; large ones keep a transparent
// margin around the rounded emblem, so they sit well among other icons. No other size has a path.
TEST(SkinResources, EveryIconIsEmbeddedAtItsSize) {
    for (int size : skin_resources::kIconSizes) {
        const QImage icon = LoadShipped(skin_resources::IconPath(size));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 4)), 255) << size;
        if (size >= 48) {
            EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
            EXPECT_EQ(qAlpha(icon.pixel(size - 1, size - 1)), 0) << size;
        }
    }
    for (int size : {0, 20, -16})
        EXPECT_TRUE(skin_resources::IconPath(size).isEmpty()) << size;
}
