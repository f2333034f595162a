#pragma once

// Numbers every skinned dialog and element agrees on: ids, timers, mouse states, results and timings.

namespace skin {

// Element ids count up from here in each dialog; the root holder takes the first.
inline constexpr unsigned kFirstElementId = 0x6F000001u;

// Caption buttons of a framed dialog.
inline constexpr unsigned kMinimizeButtonId = 0x7F000002u;
inline constexpr unsigned kMaximizeButtonId = 0x7F000003u;
inline constexpr unsigned kRestoreButtonId = 0x7F000004u;
inline constexpr unsigned kCloseButtonId = 0x7F000005u;

// Window timers owned by the dialog base.
inline constexpr int kResizeTimerId = 0x7F000001;
inline constexpr int kMoveTimerId = 0x7F000002;
inline constexpr int kTickTimerId = 0x7F000003;

inline constexpr int kTickMs = 50;
inline constexpr int kDragStepMs = 10;
inline constexpr int kTooltipDelayMs = 750;
inline constexpr int kTooltipLifeMs = 20000;
inline constexpr int kTooltipPollMs = 100;
inline constexpr int kScrollStepMs = 150;
inline constexpr int kAutoScrollStepMs = 50;

// Mouse states handed to an element's OnMouse.
inline constexpr int kMouseHeld = 1;
inline constexpr int kMouseMove = 0;
inline constexpr int kMouseReleased = -1;
inline constexpr int kMouseRightRelease = -2;

// Dialog results (0 is no result).
inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;

// Message box types: a button set in the low four bits, an icon in the next four.
inline constexpr unsigned kMessageOk = 0x00;
inline constexpr unsigned kMessageOkCancel = 0x01;
inline constexpr unsigned kMessageYesNoCancel = 0x03;
inline constexpr unsigned kMessageYesNo = 0x04;
inline constexpr unsigned kMessageStop = 0x10;
inline constexpr unsigned kMessageQuestion = 0x20;
inline constexpr unsigned kMessageExclamation = 0x30;
inline constexpr unsigned kMessageInformation = 0x40;

// Height of a standard push button and of a holder's auto-scroll bars.
inline constexpr int kButtonHeight = 29;

// Band at the top of a framed dialog that drags the window, and the border width that resizes it.
inline constexpr int kCaptionBand = 30;
inline constexpr int kResizeBorder = 6;
// However small a dialog's minimum, a border drag keeps it at least this wide and tall.
inline constexpr int kResizeFloor = 300;
// Manhattan distance the pointer must travel before a press on a draggable element starts a text drag.
inline constexpr int kDragStartDistance = 11;

} // namespace skin
