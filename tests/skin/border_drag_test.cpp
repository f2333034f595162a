#include "skin/border_drag.h"

#include <gtest/gtest.h>

using skin::ResizedRect;
using skin::ResizeEdges;

// Dragged edges follow the cursor inside the desktop; the window stays at least max(300, minimum) wide and
// tall; edges not dragged stay put.
TEST(BorderDrag, DraggedEdgesFollowTheCursorWithinDesktopAndMinimum) {
    constexpr plat::Rect kDesktop{0, 0, 1280, 800};
    constexpr plat::Rect kWindow{400, 200, 1000, 700};
    struct Case {
        plat::Point cursor;
        ResizeEdges edges;
        int minHeight;
        plat::Rect expected;
        const char* note;
    };
    const Case cases[] = {
        {{1100, 0}, {false, false, true, false}, 70, {400, 200, 1100, 700}, "right edge follows"},
        {{5000, 0},
         {false, false, true, false},
         70,
         {400, 200, 1280, 700},
         "right edge stops at the desktop"},
        {{990, 0}, {true, false, false, false}, 70, {700, 200, 1000, 700}, "300 px wide despite minimum 200"},
        {{-50, 0}, {true, false, false, false}, 70, {0, 200, 1000, 700}, "left edge stops at the desktop"},
        {{0, 690}, {false, true, false, false}, 420, {400, 280, 1000, 700}, "larger minimum height wins"},
        {{0, 0}, {false, false, false, true}, 420, {400, 200, 1000, 620}, "bottom edge keeps the minimum"},
        {{350, 750}, {true, false, false, true}, 70, {350, 200, 1000, 750}, "corner moves two edges"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(ResizedRect(kWindow, kDesktop, c.cursor, c.edges, 200, c.minHeight, 300), c.expected);
    }
}
