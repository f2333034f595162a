#pragma once

namespace plat {

// Whether translucent windows show as such, that is a compositing manager runs (always under Wayland).
// Without one a translucent window shows black where it should be clear, so callers then make none.
bool TranslucentWindowsAvailable();

// Whether the program may place its own top-level windows and stack them against each other: X11 lets it,
// Wayland does not (a window there cannot even stand beside another one).
bool TopLevelPlacementAvailable();

// Whether windows can be animated as they open (a window's shape changed step by step): X11, with or without
// a compositor. Not on the offscreen platform the tests run on, where windows simply show.
bool WindowAnimationsAvailable();

} // namespace plat
