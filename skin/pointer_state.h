#pragma once

#include "platform/geometry.h"

namespace skin {

// What the pointer is doing to a dialog. One mode at a time: a press is an element press, an armed text drag
// or a frame drag, never two at once, and the state elements are told follows from the mode.
enum class PointerMode {
    Idle,           // no button held: hover follows the pointer
    Pressed,        // the left button is held
    DragArmed,      // held on an element that offers its text for dragging out
    Resizing,       // held on a border: the border follows the cursor
    Moving,         // held in the caption band: the window follows the cursor
    Releasing,      // the left button went up: hover is tested once more with the release state
    RightReleasing, // the right button went up: hover only
    DropOver,       // text dragged from elsewhere is over the window
};

class PointerState {
  public:
    PointerMode Mode() const { return m_mode; }
    void SetMode(PointerMode mode) { m_mode = mode; }
    // The state an element's OnMouse is given: held, plain move, released or right release.
    int ElementState() const;
    bool FrameDragging() const { return m_mode == PointerMode::Resizing || m_mode == PointerMode::Moving; }
    // While the frame moves, a drop hovers or a right release is tested, hover and tooltips stand still.
    bool HoverFrozen() const {
        return FrameDragging() || m_mode == PointerMode::DropOver || m_mode == PointerMode::RightReleasing;
    }

    // Arms a text drag from a press at p; DragStarts says when the pointer has gone far enough to begin it.
    void ArmDrag(plat::Point p);
    bool DragStarts(plat::Point p) const;

    // Text dragged over the window: text from elsewhere freezes hover until it leaves or drops; a drag of our
    // own runs while the left button still holds its press, which keeps its mode.
    void DropEnters();
    void DropLeaves();

    // Where the last mouse message was, in client coordinates.
    plat::Point lastMouse;
    // The pointer relative to the pressed element, for its auto-repeated presses.
    plat::Point pressPos;

  private:
    PointerMode m_mode = PointerMode::Idle;
    plat::Point m_pressPoint;
};

} // namespace skin
