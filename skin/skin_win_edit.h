#pragma once

#include "platform/geometry.h"
#include "platform/native_edit.h"
#include "skin/dialog_handle.h"

class CSkinDlg_Base;
class CSkinDropList;
class CSkinEdit;
class CSkinElement;

// The native editing child of an edit field (while it has the focus) or of an editable drop list. It reports
// typing to the owner's dialog, acts on key releases (Esc, Enter, Up, Down, Ctrl+A), hands Tab to the
// dialog's focus walk and the wheel to the dialog, and stands wherever its owner shows.
class CSkin_WinEdit : public plat::NativeEdit {
  public:
    // rect is in dialog client coordinates; the owner must be in a dialog.
    CSkin_WinEdit(CSkinEdit& owner, const plat::Rect& rect, unsigned style);
    CSkin_WinEdit(CSkinDropList& owner, const plat::Rect& rect, unsigned style);

    // Moves the child over its owner's text area, cut to what the holders show; hides it while the owner
    // does not show (a hidden element, panel or view, or one taken out of its dialog).
    void FollowOwner();

  protected:
    void onChange() override;
    bool onKeyUp(int key, unsigned modifiers) override;
    void onTab(bool backwards) override;
    void onSetFocus() override;
    void onPaint() override;
    void onMouseWheel(int delta, int x, int y) override;

  private:
    CSkin_WinEdit(CSkinElement& owner, CSkinDropList* list, CSkinEdit* edit, const plat::Rect& rect,
                  unsigned style);
    // Typing reaches the dialog as the owner's command + "_typing".
    void ReportTyping();
    bool DropListKeyUp(int key);
    // The dialog the child stands in, null once it is gone.
    CSkinDlg_Base* Dialog() const { return m_dialog.Get(); }

    CSkinElement& m_owner;
    CSkinDropList* m_pDropList;
    CSkinEdit* m_pEdit;
    skin::DialogHandle m_dialog;
};
