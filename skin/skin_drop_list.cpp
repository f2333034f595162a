#include "skin/skin_drop_list.h"

#include "core/clock.h"
#include "platform/native_edit.h"
#include "skin/button_images.h"
#include "skin/commands.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_edit.h"
#include "skin/skin_win_edit.h"
#include "skin/skin_win_list.h"

#include <algorithm>

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

constexpr plat::Rect kArrow = skin::AtlasRect("dropList.arrow.normal");
constexpr plat::Rect kArrowHot = skin::AtlasRect("dropList.arrow.hot");
// The arrow's part of the list, from its right edge: the pointer there lights the arrow.
constexpr int kArrowZone = 26;
constexpr int kMinPopupHeight = 50;
constexpr int kPopupFrame = 8;
constexpr int kSlideMs = 200;
constexpr int kFadeMs = 200;
constexpr plat::ColorRef kTextColor = 0x000000;

// A-Z and a-z alike; every other character only equals itself.
QChar FoldAsciiCase(QChar c) {
    return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - (u'a' - u'A')) : c;
}

} // namespace

CSkinDropList::CSkinDropList() {
    m_className = u"CSkinDropList"_s;
    m_takesKeys = true;
    // A click opens the popup; the command goes out with the index of the item chosen there.
    m_noCommand = true;
}

CSkinDropList::~CSkinDropList() {
    m_pEdit.reset();
    m_pPopup.reset();
}

void CSkinDropList::Create(CSkinDlgHolder* holder, unsigned id, const QString& caption, bool editable,
                           const QString& command, const QString& tooltip) {
    m_editable = editable;
    CSkinElement::Create(holder, id, caption, command, 0, tooltip);
    m_popupHeight = 120;
    if (editable)
        EnableDragDrop();
}

int CSkinDropList::PopupWindowHeight(int popupHeight) {
    return qMax(popupHeight, kMinPopupHeight) / kLineHeight * kLineHeight + kPopupFrame;
}

void CSkinDropList::MeasureTextOffset() {
    if (m_pDlg)
        m_textOffset = (kHeight - m_pDlg->MeasureDC().getTextExtent(u"Wqtzj"_s).cy) / 2;
}

plat::Rect CSkinDropList::NativeRect() const {
    return plat::Rect{m_textOffset, m_textOffset, m_width - kArrowZone, 22};
}

void CSkinDropList::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    MeasureTextOffset();
    DrawFrame(x, y, m_width, kHeight, dc);
    if (m_pAtlasDC) {
        const plat::Rect& arrow = m_arrowHot ? kArrowHot : kArrow;
        skin::DrawPiece(dc, x + m_width - 3 - arrow.width(), y + 3, *m_pAtlasDC, arrow);
    }
    // The editing child shows the text itself.
    if (m_pEdit)
        return;
    plat::Rect text{x + m_textOffset + m_margin, y + m_textOffset, x + m_width - kArrowZone, y + kHeight};
    const plat::ColorRef previous = dc.setTextColor(m_enabled ? kTextColor : skin::kDisabledTextColor);
    dc.drawText(m_caption, text, plat::kTextSingleLine | plat::kTextNoPrefix | plat::kTextEndEllipsis);
    dc.setTextColor(previous);
}

void CSkinDropList::OnPositionChanged() {
    // The list is always one line high; a taller height given to it is the height of its popup.
    if (m_height > kHeight)
        m_popupHeight = m_height;
    m_height = kHeight;
    CSkinElement::OnPositionChanged();
}

void CSkinDropList::OnMouseLeave() {
    m_pressed = false;
    m_arrowHot = false;
    CSkinElement::OnMouseLeave();
}

void CSkinDropList::UpdateTextExtent(plat::DeviceContext& /*dc*/) {
    Redraw();
}

bool CSkinDropList::OnMouse(int x, int y, int state) {
    if (CSkinElement::OnMouse(x, y, state))
        return true;
    if (m_ignoreMouseUntil != 0) {
        if (MonotonicMs() < m_ignoreMouseUntil)
            return false;
        m_ignoreMouseUntil = 0;
    }
    const bool wasHot = m_arrowHot;
    m_arrowHot = x > m_width - kArrowZone;
    // Only a release that ends a press on the list acts: the release of the press that closed the popup
    // outside it can arrive here on its own.
    const bool pressed = m_pressed;
    m_pressed = state == skin::kMouseHeld;
    if (state == skin::kMouseReleased && pressed) {
        if (m_popupOpen)
            ClosePopup();
        else if (m_editable && !m_arrowHot)
            Redraw();
        else
            OpenPopup();
    }
    if (wasHot != m_arrowHot)
        Redraw();
    return false;
}

void CSkinDropList::OpenPopup() {
    CSkinDlg_Base* dlg = m_pDlg;
    if (!dlg || m_popupOpen)
        return;
    if (!m_pPopup)
        m_pPopup = std::make_unique<CSkin_WinList>(*this, *dlg);
    m_popupHeight = PopupWindowHeight(m_popupHeight);
    const plat::Point at = dlg->clientToScreen(GetDialogPos());
    m_pPopup->setGeometry(plat::Rect::fromXywh(at.x, at.y + kHeight, m_width, m_popupHeight));
    m_pPopup->m_highlight = m_curSel;
    m_pPopup->m_focusIndex = m_curSel;
    m_pPopup->ScrollToTop(m_curSel);
    // Set before the popup shows: taking the keyboard, it takes the focus from the dialog.
    m_popupOpen = true;
    m_arrowHot = false;
    m_pPopup->showSlidingDown(kSlideMs);
    Redraw();
}

void CSkinDropList::ClosePopup() {
    if (!m_popupOpen)
        return;
    m_popupOpen = false;
    if (m_pPopup)
        m_pPopup->hideFading(kFadeMs);
    m_ignoreMouseUntil = MonotonicMs() + kClickGuardMs;
    if (CSkinDlg_Base* dlg = m_pDlg) {
        // Typing goes on in the editing child.
        if (m_pEdit)
            m_pEdit->setFocus();
        else
            dlg->setFocus();
        if (dlg->m_captureMode)
            dlg->setCapture();
    }
    Redraw();
}

void CSkinDropList::PickFromPopup(int index) {
    ClosePopup();
    SetCurSel(index, false);
}

void CSkinDropList::OnSetFocus(int x, int y) {
    CSkinElement::OnSetFocus(x, y);
    CSkinDlg_Base* dlg = m_pDlg;
    if (!m_editable || m_pEdit || !dlg)
        return;
    MeasureTextOffset();
    const plat::Point at = GetDialogPos();
    m_pEdit =
        std::make_unique<CSkin_WinEdit>(*this, NativeRect().translated(at.x, at.y), plat::kEditAutoHScroll);
    // As in an edit field: the limit holds typing back, never cuts the text already there.
    m_pEdit->setLimitText(int(std::max<qsizetype>(CSkinEdit::kTextLimit, m_caption.size())));
    m_pEdit->setText(m_caption);
    m_pEdit->setCaretToEnd();
    m_pEdit->FollowOwner();
    m_pEdit->setFocus();
    Redraw();
}

void CSkinDropList::OnKillFocus() {
    // The popup takes the keyboard while it is open; that is not a loss of the list's focus.
    if (m_popupOpen)
        return;
    CSkinElement::OnKillFocus();
    m_arrowHot = false;
    bool edited = false;
    if (m_pEdit) {
        const QString text = m_pEdit->text();
        edited = text != m_caption;
        m_caption = text;
        m_pEdit.reset();
    }
    // The selection stays as the last SetCurSel left it: a line the pointer only passed over in the popup
    // is not chosen.
    m_pPopup.reset();
    CSkinDlg_Base* dlg = m_pDlg;
    if (!dlg)
        return;
    dlg->setFocus();
    Redraw();
    if (edited && !m_command.isEmpty())
        dlg->OnCommand(m_command + cmd::kEditSuffix, 0);
}

void CSkinDropList::SetText(const QString& text) {
    CSkinElement::SetText(text);
    if (m_pEdit) {
        m_pEdit->setText(text);
        m_pEdit->setCaretToEnd();
    }
    Redraw();
}

QString CSkinDropList::GetText() const {
    return m_pEdit ? m_pEdit->text() : m_caption;
}

bool CSkinDropList::OnDropText(int /*x*/, int /*y*/, const QString* text) {
    if (text && !text->isEmpty())
        SetText(*text);
    return true;
}

int CSkinDropList::AddItem(const QString& text, int data) {
    m_items.append({text, data});
    if (m_popupOpen && m_pPopup)
        m_pPopup->redrawNow();
    return GetCount() - 1;
}

void CSkinDropList::InsertItem(const QString& text, int index, int data) {
    if (index < 0 || index > GetCount())
        index = GetCount();
    m_items.insert(index, {text, data});
    // The same item stays selected.
    if (m_curSel >= index)
        ++m_curSel;
    if (m_popupOpen && m_pPopup)
        m_pPopup->redrawNow();
}

void CSkinDropList::SetItemText(int index, const QString& text) {
    if (index < 0 || index >= GetCount())
        return;
    m_items[index].text = text;
    if (m_popupOpen && m_pPopup)
        m_pPopup->redrawNow();
}

QString CSkinDropList::GetItemText(int index) const {
    return (index >= 0 && index < GetCount()) ? m_items[index].text : QString();
}

qint32 CSkinDropList::GetItemData(int index) const {
    return (index >= 0 && index < GetCount()) ? m_items[index].data : 0;
}

void CSkinDropList::SetCurSel(int index, bool silent) {
    if (index < 0 || index >= GetCount())
        return;
    m_curSel = index;
    m_caption = m_items[index].text;
    if (m_pEdit) {
        m_pEdit->setText(m_caption);
        m_pEdit->selectAll();
    }
    if (m_pPopup) {
        m_pPopup->m_highlight = index;
        m_pPopup->m_focusIndex = index;
        m_pPopup->ScrollIntoView(index);
        m_pPopup->redrawNow();
    }
    Redraw();
    if (!silent && m_pDlg && !m_command.isEmpty())
        m_pDlg->OnCommand(m_command, index);
}

void CSkinDropList::ClearSelection() {
    m_curSel = -1;
    m_caption.clear();
    if (m_pEdit)
        m_pEdit->setText(QString());
    if (m_pPopup) {
        m_pPopup->m_highlight = -1;
        m_pPopup->m_focusIndex = -1;
        m_pPopup->redrawNow();
    }
    Redraw();
}

int CSkinDropList::FindItem(const QString& text) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_items[i].text == text)
            return i;
    return -1;
}

int CSkinDropList::FindItemPrefix(const QString& text) const {
    for (int i = 0; i < GetCount(); ++i) {
        const QString& item = m_items[i].text;
        if (item.size() < text.size())
            continue;
        bool same = true;
        for (qsizetype c = 0; c < text.size() && same; ++c)
            same = FoldAsciiCase(item[c]) == FoldAsciiCase(text[c]);
        if (same)
            return i;
    }
    return -1;
}

void CSkinDropList::ResetContent() {
    m_items.clear();
    ClearSelection();
}

void CSkinDropList::SelectEditText() {
    if (m_pEdit)
        m_pEdit->selectAll();
}

void CSkinDropList::DestroyPopup() {
    Detach();
    m_popupOpen = false;
    m_pEdit.reset();
    m_pPopup.reset();
}

void CSkinDropList::OnDialogPainted() {
    if (m_pEdit)
        m_pEdit->FollowOwner();
}
