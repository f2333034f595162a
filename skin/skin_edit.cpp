#include "skin/skin_edit.h"

#include "platform/native_edit.h"
#include "skin/button_images.h"
#include "skin/commands.h"
#include "skin/element_handle.h"
#include "skin/host_window.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

#include <algorithm>

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

// The text inside the frame starts this far from the field's left edge.
constexpr int kTextLeft = 7;
constexpr int kFrameInset = 4;
constexpr plat::ColorRef kTextColor = 0x000000;
constexpr QChar kPasswordDot{0x25CF};

} // namespace

CSkinEdit::CSkinEdit() {
    m_className = u"CSkinEdit"_s;
    m_takesKeys = true;
    // A click begins editing; the command reports its end.
    m_noCommand = true;
}

CSkinEdit::~CSkinEdit() {
    m_pEdit.reset();
}

void CSkinEdit::Create(CSkinDlgHolder* holder, unsigned id, const QString& caption, bool multiLine,
                       bool numeric, const QString& command, const QString& tooltip, unsigned extraStyle) {
    m_multiLine = multiLine;
    m_numeric = numeric;
    m_style = extraStyle | plat::kEditAutoHScroll;
    if (multiLine)
        m_style |= plat::kEditMultiLine;
    if (numeric) {
        m_style |= plat::kEditNumber | plat::kEditRightAlign;
        m_takesKeys = false;
    }
    CSkinElement::Create(holder, id, caption, command, 0, tooltip);
    if (!numeric)
        EnableDragDrop();
}

int CSkinEdit::LineHeight() {
    if (m_lineHeight < 0 && m_pDlg)
        m_lineHeight = m_pDlg->MeasureDC().getTextExtent(u"Wsasdxzqg"_s).cy;
    return qMax(1, m_lineHeight);
}

QString CSkinEdit::ShownText() const {
    return (m_style & plat::kEditPassword) ? QString(m_caption.size(), kPasswordDot) : m_caption;
}

plat::Rect CSkinEdit::NativeRect() const {
    const int bar = m_multiLine ? qMax(0, m_rightInset - kFrameInset) : 0;
    return plat::Rect{kFrameInset, kFrameInset, m_width - bar - kFrameInset, m_height - kFrameInset};
}

void CSkinEdit::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    DrawFrame(x, y, m_width, m_height, dc);
    const int lineHeight = LineHeight();
    if (!m_pEdit) {
        dc.pushClip(plat::Rect{x + kFrameInset, y + kFrameInset, x + m_width - kFrameInset,
                               y + m_height - kFrameInset});
        plat::Rect text{x + kTextLeft - m_scrollX, y + kFrameInset - (m_scrollY / lineHeight) * lineHeight,
                        x + m_width - 8,
                        y + kFrameInset + ((m_height - 2 * kFrameInset) / lineHeight) * lineHeight};
        unsigned format = plat::kTextNoPrefix | plat::kTextEndEllipsis;
        if (m_numeric)
            format |= plat::kTextRight;
        if (!m_multiLine)
            format |= plat::kTextSingleLine;
        const plat::ColorRef previous = dc.setTextColor(m_enabled ? kTextColor : skin::kDisabledTextColor);
        dc.drawText(ShownText(), text, format);
        dc.setTextColor(previous);
        dc.popClip();
    }
    if (m_multiLine) {
        DrawScrollbars(dc, 0, 0, {x, y});
        if (m_pEdit) {
            const int lines = m_scrollY / lineHeight - m_pEdit->firstVisibleLine();
            if (lines != 0)
                m_pEdit->lineScroll(lines);
        }
    }
}

void CSkinEdit::OnSetFocus(int x, int y) {
    CSkinElement::OnSetFocus(x, y);
    CSkinDlg_Base* dlg = m_pDlg;
    if (m_pEdit || !dlg)
        return;
    const plat::Point at = GetDialogPos();
    m_pEdit = std::make_unique<CSkin_WinEdit>(*this, NativeRect().translated(at.x, at.y), m_style);
    // The limit holds typing back; a text the program put in is never cut by it.
    m_pEdit->setLimitText(int(std::max<qsizetype>(kTextLimit, m_caption.size())));
    m_pEdit->setText(m_caption);
    if (m_multiLine)
        m_pEdit->lineScroll(m_scrollY / LineHeight());
    if (m_numeric) {
        m_pEdit->selectAll();
    } else if (dlg->Pointer().Mode() == skin::PointerMode::Pressed) {
        // Clicked: the caret goes where the click was. Reached by Tab or by the program: to the end.
        const plat::Point mouse = dlg->Pointer().lastMouse;
        m_pEdit->setCaretAt({mouse.x - at.x - kFrameInset, mouse.y - at.y - kFrameInset});
    } else {
        m_pEdit->setCaretToEnd();
    }
    m_pEdit->FollowOwner();
    m_pEdit->setFocus();
}

void CSkinEdit::OnKillFocus() {
    CSkinElement::OnKillFocus();
    if (!m_pEdit)
        return;
    m_caption = m_pEdit->text();
    m_pEdit.reset();
    CSkinDlg_Base* dlg = m_pDlg;
    if (!dlg)
        return;
    skin::HostWindow(*dlg).setFocus();
    Redraw();
    if (!m_command.isEmpty()) {
        const QString command = m_command;
        dlg->OnCommand(command, 0);
    }
}

void CSkinEdit::SetText(const QString& text) {
    CSkinElement::SetText(text);
    if (m_pEdit) {
        m_pEdit->setText(text);
        m_pEdit->setCaretToEnd();
    }
    SyncText();
}

QString CSkinEdit::GetText() const {
    return m_pEdit ? m_pEdit->text() : m_caption;
}

bool CSkinEdit::OnDropText(int /*x*/, int /*y*/, const QString* text) {
    if (!text || text->isEmpty())
        return true;
    // While editing, the drop joins what has been typed so far.
    QString joined = GetText();
    if (!joined.isEmpty())
        joined += m_multiLine ? u"\r\n"_s : u" "_s;
    joined += *text;
    m_caption = joined;
    if (m_pEdit) {
        m_pEdit->setText(joined);
        m_pEdit->setCaretToEnd();
    }
    SyncText();
    Redraw();
    if (m_pDlg && !m_command.isEmpty())
        m_pDlg->OnCommand(m_command + cmd::kOnPasteSuffix, 0);
    return true;
}

void CSkinEdit::Detach() {
    const bool editing = m_pEdit != nullptr;
    const QString typed = GetText();
    const skin::ElementHandle self(this);
    // A focused field ends its editing in the element's Detach, and its dialog hears of it there.
    CSkinElement::Detach();
    if (self == nullptr)
        return;
    // Still editing: the dialog was being torn down, so the field goes without a word.
    if (m_pEdit)
        OnKillFocus();
    if (editing)
        m_caption = typed;
}

bool CSkinEdit::GetSel(int& start, int& end) const {
    if (!m_pEdit)
        return false;
    m_pEdit->getSel(&start, &end);
    return true;
}

bool CSkinEdit::SetSel(int start, int end) {
    if (!m_pEdit)
        return false;
    m_pEdit->setSel(start, end);
    return true;
}

bool CSkinEdit::ReplaceSel(const QString& text) {
    if (!m_pEdit)
        return false;
    m_pEdit->replaceSel(text);
    return true;
}

void CSkinEdit::SyncText() {
    if (!m_multiLine || !m_pDlg)
        return;
    const int lineHeight = LineHeight();
    plat::Rect measured{0, 0, qMax(1, m_width - 2 * kFrameInset), 0};
    const int height =
        m_pDlg->MeasureDC().drawText(GetText(), measured, plat::kTextCalcRect | plat::kTextNoPrefix);
    const int scroll = m_pEdit ? m_pEdit->firstVisibleLine() * lineHeight : m_scrollY;
    if (height != m_contentHeight || scroll != m_scrollY) {
        m_contentHeight = height;
        m_scrollY = scroll;
        ++m_changeCount;
        Redraw();
    }
}

void CSkinEdit::OnDialogPainted() {
    if (m_pEdit)
        m_pEdit->FollowOwner();
}
