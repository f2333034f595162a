#pragma once

namespace plat {

// The window system's default alert sound.
void Beep();

} // namespace plat
