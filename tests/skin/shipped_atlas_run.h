#pragma once

#include "platform/device_context.h"
#include "resources/skin_resources.h"
#include "skin/skin_atlas.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace skintest {

// Runs the tests with the shipped skin atlas installed, as the program draws its dialogs.
inline int RunWithShippedAtlas() {
    plat::DeviceContext atlas;
    if (!atlas.loadImage(skin_resources::AtlasPath())) {
        std::fprintf(stderr, "the skin atlas could not be loaded\n");
        return 1;
    }
    skin::SetAtlas(&atlas);
    const int result = RUN_ALL_TESTS();
    skin::SetAtlas(nullptr);
    return result;
}

} // namespace skintest
