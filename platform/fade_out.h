#pragma once

#include "platform/geometry.h"

class QImage;

namespace plat {

// Shows picture at screenRect (screen coordinates) and fades it out over durationMs, then drops it: what a
// window that has just been hidden looked like, fading where the window system can blend windows. The copy
// takes no input, never the focus, and goes by itself.
void FadeOutCopy(const Rect& screenRect, const QImage& picture, int durationMs);

} // namespace plat
