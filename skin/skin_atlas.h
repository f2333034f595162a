#pragma once

namespace plat {
class DeviceContext;
}

// The one skin atlas (635 x 481) every dialog draws from. Start-up loads it and installs it here before the
// first dialog exists; dialogs and elements read it when they are created.

namespace skin {

inline constexpr int kAtlasWidth = 635;
inline constexpr int kAtlasHeight = 481;

// Not owned; null removes it.
void SetAtlas(plat::DeviceContext* atlas);
plat::DeviceContext* Atlas();

} // namespace skin
