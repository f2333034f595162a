#include "skin/frame_clock.h"

namespace skin {

void FrameClock::Start(qint64 now, int frameCount) {
    lastTime = now;
    count = frameCount;
    frame = 0;
}

void FrameClock::Advance(qint64 now) {
    if (frame < 0 || count <= 0)
        return;
    const qint64 elapsed = now - lastTime;
    if (elapsed <= kFrameMs)
        return;
    const qint64 steps = elapsed / kFrameMs;
    lastTime += steps * kFrameMs;
    frame = int((frame + steps) % count);
}

} // namespace skin
