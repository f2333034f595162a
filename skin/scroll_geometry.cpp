#include "skin/scroll_geometry.h"

#include <algorithm>

namespace skin {

ThumbGeometry ComputeThumb(int from, int to, qint64 content, qint64 view, qint64 offset) {
    ThumbGeometry t;
    t.track = qMax(0, to - from - 2 * kScrollbarArrow);
    const qint64 track = t.track;
    qint64 length = track * track / std::max<qint64>(1, content);
    length = std::clamp<qint64>(length, std::min<qint64>(kMinThumb, track), track);
    t.length = int(length);
    t.free = t.track - t.length;
    const qint64 pos = std::max<qint64>(1, t.free) * offset / std::max<qint64>(1, content - view);
    t.pos = int(std::clamp<qint64>(pos, 0, t.free));
    return t;
}

int ClampScrollOffset(qint64 offset, qint64 content, qint64 view) {
    const qint64 limit = std::max<qint64>(0, content - view);
    return int(std::clamp<qint64>(offset, 0, limit));
}

qint64 ThumbDragDelta(int mouseDelta, qint64 content, qint64 view, int free) {
    return qint64(mouseDelta) * (content - view) / std::max(1, free);
}

int WheelScrollOffset(int offset, int wheelDelta, qint64 content, int view) {
    const qint64 step = ArrowStep(view);
    return ClampScrollOffset(offset - qint64(wheelDelta) * step / 120, content, view);
}

} // namespace skin
