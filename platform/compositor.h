#pragma once

namespace plat {

// Whether translucent windows show as such, that is a compositing manager runs (always under Wayland).
// Without one a translucent window shows black where it should be clear, so callers then make none.
bool translucentWindowsAvailable();

} // namespace plat
