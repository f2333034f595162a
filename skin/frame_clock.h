#pragma once

#include <QtGlobal>

// Advances an icon animation in whole 120 ms frames. The clock keeps its phase: after 250 ms it moves two
// frames and 240 ms, so slow repaints do not slow the animation down.

namespace skin {

struct FrameClock {
    static constexpr qint64 kFrameMs = 120;

    qint64 lastTime = 0;
    int frame = -1; // -1: no icon
    int count = 0;

    void Start(qint64 now, int frameCount);
    void Stop() { frame = -1; }
    bool Running() const { return frame >= 0; }
    void Advance(qint64 now);
};

} // namespace skin
