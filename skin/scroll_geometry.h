#pragma once

#include <QtGlobal>

// Arithmetic of the built-in scrollbars and of wheel and auto scrolling. Products of offsets and lengths run
// in 64 bits so that very tall content (a holder with a hundred thousand rows) cannot overflow.

namespace skin {

struct ThumbGeometry {
    int track = 0;  // length between the two arrows
    int length = 0; // thumb length
    int free = 0;   // track - thumb
    int pos = 0;    // thumb start, from the end of the first arrow
};

inline constexpr int kScrollbarArrow = 14;
inline constexpr int kScrollbarWidth = 18;
inline constexpr int kMinThumb = 10;

// Thumb of a bar spanning [from, to] over content of the given length seen through a view.
ThumbGeometry ComputeThumb(int from, int to, qint64 content, qint64 view, qint64 offset);

// An offset kept within [0, content - view].
int ClampScrollOffset(qint64 offset, qint64 content, qint64 view);

// Offset change of a thumb dragged by mouseDelta pixels.
qint64 ThumbDragDelta(int mouseDelta, qint64 content, qint64 view, int free);

inline int ArrowStep(int view) {
    return qMax(1, view / 5);
}
inline int PageStep(int view) {
    return qMax(1, view / 3);
}

// New offset after a wheel turn of delta (120 per notch) over a view of the given height.
int WheelScrollOffset(int offset, int wheelDelta, qint64 content, int view);

} // namespace skin
