#include "skin/skin_atlas.h"

namespace skin {

namespace {
plat::DeviceContext* g_atlas = nullptr;
}

void SetAtlas(plat::DeviceContext* atlas) {
    g_atlas = atlas;
}

plat::DeviceContext* Atlas() {
    return g_atlas;
}

} // namespace skin
