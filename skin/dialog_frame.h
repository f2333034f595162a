#pragma once

#include "platform/geometry.h"
#include "platform/window.h"
#include "skin/border_drag.h"
#include "skin/pointer_state.h"
#include "skin/skin_button.h"

class CSkinDlg_Base;

namespace skin {

enum class CaptionButton { Minimize, Maximize, Restore, Close };

// The frame of a skinned dialog: the caption buttons and the rounded shape, resizing by the borders, moving
// by the caption band, the caption double-click, and what minimising, restoring and the tray icon do. The
// window's maximised and minimised states are the platform window's own.
class DialogFrame {
  public:
    explicit DialogFrame(CSkinDlg_Base& dlg);

    void CreateCaptionButtons();
    const CSkinButton& Button(CaptionButton which) const;
    // After every size change: the rounded shape and which caption buttons show.
    void Layout(plat::SizeType sizeType);
    // A size event of the ready dialog: the parent window follows a minimise and its restore, and with
    // minimise-to-tray the minimised window hides behind a tray icon.
    void OnSize(plat::SizeType type);
    // Left or double click: the window comes back; right click: the tray menu ("Restore", "Exit").
    void OnTrayClick(plat::TrayClick click);

    // The pointer at (x, y): which borders and whether the caption band it is over, and the cursor that says
    // so. While resizing the dragged borders stay as they were.
    void Track(int x, int y, bool resizing);
    // A press at (x, y) on a border or in the caption band starts dragging the frame: answers Resizing or
    // Moving, else Idle.
    PointerMode BeginDrag(int x, int y);
    void EndDrag(PointerMode mode);
    // One step of a border drag or a caption drag towards the cursor (screen coordinates).
    void ResizeStep(plat::Point cursor);
    void MoveStep(plat::Point cursor);
    // A double click in the icon's corner closes a top-level dialog; elsewhere in the caption band it toggles
    // maximise at the next release.
    void OnDoubleClick(int x, int y);
    void OnRelease();

  private:
    CSkinDlg_Base& m_dlg;
    ResizeEdges m_edges;
    bool m_captionHit = false;
    plat::Point m_anchor;
    bool m_maximizeTogglePending = false;
    // What the last size event said: a restore that comes from minimised brings back the tray-hidden window
    // and the parent that was minimised along.
    plat::SizeType m_shownAs = plat::SizeType::Restored;
    CSkinButton m_btnMinimize;
    CSkinButton m_btnMaximize;
    CSkinButton m_btnRestore;
    CSkinButton m_btnClose;
};

} // namespace skin
