#include "skin/skin_win_edit.h"

#include "core/number_text.h"
#include "platform/keys.h"
#include "skin/commands.h"
#include "skin/element_handle.h"
#include "skin/element_shown.h"
#include "skin/host_window.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_drop_list.h"
#include "skin/skin_edit.h"

#include <algorithm>
#include <limits>

namespace cmd = skin::cmd;

CSkin_WinEdit::CSkin_WinEdit(CSkinEdit& owner, const plat::Rect& rect, unsigned style)
    : CSkin_WinEdit(owner, nullptr, &owner, rect, style) {}

CSkin_WinEdit::CSkin_WinEdit(CSkinDropList& owner, const plat::Rect& rect, unsigned style)
    : CSkin_WinEdit(owner, &owner, nullptr, rect, style) {}

CSkin_WinEdit::CSkin_WinEdit(CSkinElement& owner, CSkinDropList* list, CSkinEdit* edit,
                             const plat::Rect& rect, unsigned style)
    : plat::NativeEdit(skin::HostWindow(*owner.GetDialog()), rect, style, owner.GetDialog()->m_font),
      m_owner(owner), m_pDropList(list), m_pEdit(edit), m_dialog(owner.GetDialog()) {
    // The owner hears after every paint and has this child follow it.
    owner.GetDialog()->ListOverlay(&owner);
}

void CSkin_WinEdit::FollowOwner() {
    plat::Rect rect;
    plat::Rect visible;
    if (m_owner.GetDialog() != Dialog() || !skin::ShownInDialog(m_owner, &rect, &visible)) {
        place(plat::Rect{}, plat::Rect{});
        return;
    }
    const plat::Rect local = m_pEdit ? m_pEdit->NativeRect() : m_pDropList->NativeRect();
    place(local.translated(rect.left, rect.top), visible);
}

void CSkin_WinEdit::ReportTyping() {
    // The command may remove the owner and so this child: only what is copied here is used after it.
    CSkinDlg_Base* dlg = Dialog();
    CSkinEdit* edit = m_pEdit;
    const skin::ElementHandle owner(&m_owner);
    if (dlg && m_owner.GetDialog() == dlg && !m_owner.m_command.isEmpty())
        dlg->OnCommand(m_owner.m_command + cmd::kTypingSuffix, m_pDropList ? m_pDropList->GetCurSel() : 0);
    if (edit && owner != nullptr)
        edit->SyncText();
}

void CSkin_WinEdit::onChange() {
    ReportTyping();
}

bool CSkin_WinEdit::DropListKeyUp(int key) {
    CSkinDropList& list = *m_pDropList;
    if (key == plat::kKeyUp || key == plat::kKeyDown) {
        if (list.GetCount() > 0) {
            const int step = key == plat::kKeyUp ? -1 : 1;
            list.SetCurSel(qBound(0, list.GetCurSel() + step, list.GetCount() - 1), true);
        }
        list.OpenPopup();
        return true;
    }
    if (key == plat::kKeyEscape)
        list.ClosePopup();
    return false;
}

bool CSkin_WinEdit::onKeyUp(int key, unsigned modifiers) {
    if (m_pDropList && DropListKeyUp(key))
        return true;
    if (m_pEdit && m_pEdit->m_numeric && (key == plat::kKeyUp || key == plat::kKeyDown)) {
        const qint64 value =
            qint64{number_text::ReadInt(text()).value_or(0)} + (key == plat::kKeyUp ? 1 : -1);
        constexpr qint64 kMin = std::numeric_limits<int>::min();
        constexpr qint64 kMax = std::numeric_limits<int>::max();
        setText(number_text::FormatInt(std::clamp(value, kMin, kMax)));
        selectAll();
        ReportTyping();
        return true;
    }
    if (key == plat::kKeyEscape) {
        // Editing is abandoned: the text the owner had before comes back.
        setText(m_owner.m_caption);
        m_owner.OnKillFocus();
        return true;
    }
    if (key == plat::kKeyEnter) {
        if (m_pEdit && m_pEdit->m_multiLine)
            return false;
        CSkinDlg_Base* dlg = Dialog();
        m_owner.OnKillFocus();
        if (dlg)
            dlg->OnCommand(cmd::kDefaultOk, 0);
        return true;
    }
    if (key == 'A' && (modifiers & plat::kModControl)) {
        selectAll();
        return true;
    }
    return false;
}

void CSkin_WinEdit::onTab(bool backwards) {
    if (m_owner.GetDialog() == Dialog() && m_owner.m_pHolder)
        m_owner.m_pHolder->FocusNext(&m_owner, backwards);
}

void CSkin_WinEdit::onSetFocus() {
    CSkinDlg_Base* dlg = Dialog();
    if (dlg && m_owner.GetDialog() == dlg && dlg->m_pFocus != &m_owner)
        dlg->m_pFocus = &m_owner;
}

void CSkin_WinEdit::onPaint() {
    if (m_pEdit)
        m_pEdit->SyncText();
}

void CSkin_WinEdit::onMouseWheel(int delta, int x, int y) {
    CSkinDlg_Base* dlg = Dialog();
    if (dlg && m_owner.GetDialog() == dlg) {
        dlg->m_pHover = &m_owner;
        dlg->onMouseWheel(delta, x, y);
    }
}
