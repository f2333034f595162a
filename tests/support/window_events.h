#pragma once

#include "platform/window.h"
#include "skin/skin_element.h"
#include "tests/support/skin_test_support.h"

#include <QTest>

// Real mouse and key events sent through Qt to a shown window, so they pass the platform layer's host on
// their way to the dialog. Points are client coordinates. W is a dialog or any other window of ours.
namespace skintest {

template <typename W> void MoveMouse(W& w, plat::Point p) {
    QTest::mouseMove(w.widget(), QPoint(p.x, p.y));
}

template <typename W>
void PressMouse(W& w, plat::Point p, bool down, Qt::MouseButton button = Qt::LeftButton) {
    if (down)
        QTest::mousePress(w.widget(), button, {}, QPoint(p.x, p.y));
    else
        QTest::mouseRelease(w.widget(), button, {}, QPoint(p.x, p.y));
}

// Moves to from as a real pointer does, presses, moves to to while held and lets go there.
template <typename W>
void DragMouse(W& w, plat::Point from, plat::Point to, Qt::MouseButton button = Qt::LeftButton) {
    MoveMouse(w, from);
    PressMouse(w, from, true, button);
    MoveMouse(w, to);
    PressMouse(w, to, false, button);
}

template <typename W> void ClickAt(W& w, plat::Point p, Qt::MouseButton button = Qt::LeftButton) {
    DragMouse(w, p, p, button);
}

// A click in the middle of an element.
template <typename W> void ClickOn(W& w, const CSkinElement& e) {
    ClickAt(w, Centre(e));
}

// A point relative to an element's top-left corner.
inline plat::Point At(const CSkinElement& e, int dx, int dy) {
    const plat::Point p = e.GetDialogPos();
    return {p.x + dx, p.y + dy};
}

} // namespace skintest
