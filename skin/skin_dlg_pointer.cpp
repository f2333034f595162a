#include "core/clock.h"
#include "skin/commands.h"
#include "skin/scroll_geometry.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"

// The dialog's pointer handling: hover and the application-wide hover slot, presses, clicks and their
// commands, the wheel, tooltips becoming due, and text dragged out of or dropped onto elements.

namespace cmd = skin::cmd;

skin::ElementHandle CSkinDlg_Base::s_hoverSlot;

void CSkinDlg_Base::ClearHoverSlot(CSkinElement* element) {
    if (!element || s_hoverSlot == element)
        s_hoverSlot = nullptr;
}

void CSkinDlg_Base::ForgetElement(CSkinElement* element) {
    if (!element)
        return;
    auto forget = [element](skin::ElementHandle& handle) {
        const CSkinElement* e = handle;
        if (e && e->IsWithin(element)) {
            handle = nullptr;
            return true;
        }
        return false;
    };
    forget(m_pHover);
    forget(m_pPressed);
    if (forget(m_pFocus) && m_ready)
        setFocus();
    forget(s_hoverSlot);
}

void CSkinDlg_Base::UpdateHover(int x, int y, int state) {
    m_pHover = nullptr;
    CSkinDlgHolder& root = m_rootHolder;
    if (x >= root.m_x && x < root.m_right && y >= root.m_y && y < root.m_bottom)
        root.OnMouse(x - root.m_x, y - root.m_y, state);
}

void CSkinDlg_Base::SyncHoverSlot() {
    if (m_pHover == s_hoverSlot)
        return;
    if (CSkinElement* old = s_hoverSlot) {
        s_hoverSlot = nullptr;
        old->OnMouseLeave();
    }
    // The leave notification may have removed the hovered element; Detach then cleared m_pHover.
    s_hoverSlot = m_pHover;
    if (CSkinElement* hover = m_pHover)
        hover->OnMouseEnter();
}

void CSkinDlg_Base::UpdateTooltipDue(int x, int y) {
    if (m_pHover && m_pHover == s_hoverSlot && m_tooltipRect.contains(x, y))
        return;
    m_tooltipDue = -1;
    m_tooltipText.clear();
    ShowTooltip(false);
    QString text;
    plat::Rect rect;
    CSkinElement* hover = m_pHover;
    if (hover && m_active && hover->GetToolTip(text, &rect)) {
        m_tooltipText = text;
        m_tooltipRect = rect;
        m_tooltipDue = MonotonicMs() + skin::kTooltipDelayMs;
    } else {
        m_tooltipRect = plat::Rect{};
    }
}

void CSkinDlg_Base::TooltipInput(bool /*closeNow*/, int /*x*/, int /*y*/) {}

void CSkinDlg_Base::DropTooltipOf(const CSkinElement* element) {
    if (!element || m_pHover.Get() != element)
        return;
    m_tooltipDue = -1;
    m_tooltipText.clear();
    m_tooltipRect = plat::Rect{};
    TooltipInput(true, m_pointer.lastMouse.x, m_pointer.lastMouse.y);
}

void CSkinDlg_Base::onMouseMove(int x, int y) {
    m_pointer.lastMouse = {x, y};
    m_frame.Track(x, y, m_pointer.Mode() == skin::PointerMode::Resizing);
    if (m_pointer.HoverFrozen())
        return;
    if (m_pointer.DragStarts({x, y})) {
        QString text;
        m_pointer.SetMode(skin::PointerMode::Pressed);
        if (BeginDragAt(x, y, &text)) {
            releaseCapture();
            startTextDrag(text);
            if (CSkinElement* pressed = m_pPressed)
                pressed->OnMouse(0, 0, skin::kMouseMove);
            m_pPressed = nullptr;
            m_pointer.SetMode(skin::PointerMode::Idle);
            return;
        }
    }
    if (CSkinElement* pressed = m_pPressed;
        pressed && (pressed->m_wantsAllMoves || pressed->m_scrollMode != CSkinElement::kScrollNone)) {
        const plat::Point at = pressed->GetDialogPos();
        m_pointer.pressPos = {x - at.x, y - at.y};
        pressed->OnMouse(x - at.x, y - at.y, m_pointer.ElementState());
        return;
    }
    UpdateHover(x, y, m_pointer.ElementState());
    if (const CSkinElement* pressed = m_pPressed) {
        const plat::Point at = pressed->GetDialogPos();
        m_pointer.pressPos = {x - at.x, y - at.y};
    }
    if (m_tooltipShown)
        TooltipInput(false, x, y);
    else
        UpdateTooltipDue(x, y);
    SyncHoverSlot();
}

void CSkinDlg_Base::onMouseLeave() {
    // A held button keeps its press; the release tests hover again.
    CSkinElement* old = m_pHover;
    if (!old || m_pointer.Mode() != skin::PointerMode::Idle)
        return;
    m_pHover = nullptr;
    if (!m_tooltipShown)
        UpdateTooltipDue(-1, -1);
    // The slot may already hold an element of the window the pointer went to.
    if (old == s_hoverSlot)
        SyncHoverSlot();
    else
        old->Redraw();
}

void CSkinDlg_Base::onLButtonDown(int x, int y) {
    m_pointer.lastMouse = {x, y};
    TooltipInput(true, x, y);
    if (m_captureMode && !InClient(x, y)) {
        OnCommand(cmd::kDefaultCancel, 0);
        return;
    }
    m_pointer.SetMode(skin::PointerMode::Pressed);
    UpdateHover(x, y, skin::kMouseHeld);
    m_pPressed = m_pHover;
    if (CSkinElement* hover = m_pHover; !hover || !hover->m_focusOnClick) {
        if (CSkinElement* focus = m_pFocus)
            focus->OnKillFocus();
    } else if (m_pHover != m_pFocus) {
        hover->SetFocus();
    }
    if (const CSkinElement* pressed = m_pPressed) {
        const plat::Point at = pressed->GetDialogPos();
        m_pointer.pressPos = {x - at.x, y - at.y};
    }
    const bool armed = BeginDragAt(x, y, nullptr);
    if (armed)
        m_pointer.ArmDrag({x, y});
    if (const skin::PointerMode frameDrag = m_frame.BeginDrag(x, y); frameDrag != skin::PointerMode::Idle)
        m_pointer.SetMode(frameDrag);
    if (!armed && InClient(x, y))
        setCapture();
    SyncHoverSlot();
    Invalidate();
}

void CSkinDlg_Base::onLButtonUp(int x, int y) {
    const bool dragged = m_pointer.FrameDragging() || m_pointer.Mode() == skin::PointerMode::DropOver;
    m_frame.EndDrag(m_pointer.Mode());
    m_pointer.SetMode(skin::PointerMode::Idle);
    releaseCapture();
    m_frame.OnRelease();
    if (!dragged) {
        m_pointer.SetMode(skin::PointerMode::Releasing);
        UpdateHover(x, y, skin::kMouseReleased);
        m_pointer.SetMode(skin::PointerMode::Idle);
    }
    const skin::ElementHandle pressed = m_pPressed;
    if (const CSkinElement* clicked = pressed; clicked && pressed == m_pHover) {
        if (clicked->m_focusOnClick && pressed != m_pFocus) {
            if (CSkinElement* focus = m_pFocus)
                focus->OnKillFocus();
            // Losing the focus may have removed the pressed element, or taken it out of the dialog.
            if (CSkinElement* e = pressed; e && pressed == m_pPressed) {
                const plat::Point at = e->GetDialogPos();
                e->OnSetFocus(x - at.x, y - at.y);
            }
        }
        FirePressedCommand(pressed, &CSkinElement::m_command, &CSkinElement::m_param);
    }
    m_pPressed = nullptr;
    m_pHover = nullptr;
    if (m_result == 0) {
        UpdateHover(x, y, skin::kMouseMove);
        const CSkinElement* hover = m_pHover;
        if (m_captureMode && !(hover && hover->m_wantsAllMoves))
            setCapture();
        Invalidate();
    }
}

void CSkinDlg_Base::FirePressedCommand(const skin::ElementHandle& pressed, QString CSkinElement::*command,
                                       int CSkinElement::*param) {
    // A callback before this one may have removed the element, or taken it out of the dialog.
    const CSkinElement* e = pressed;
    if (!e || pressed != m_pPressed || e->m_noCommand || (e->*command).isEmpty())
        return;
    // Copies: the command may delete the element that holds them.
    const QString text = e->*command;
    const int value = e->*param;
    m_pPressed = nullptr;
    OnCommand(text, value);
}

void CSkinDlg_Base::onLButtonDblClk(int x, int y) {
    m_pointer.SetMode(skin::PointerMode::Pressed);
    UpdateHover(x, y, skin::kMouseHeld);
    m_pPressed = m_pHover;
    m_pointer.SetMode(skin::PointerMode::Releasing);
    UpdateHover(x, y, skin::kMouseReleased);
    m_pointer.SetMode(skin::PointerMode::Pressed);
    CSkinElement* pressed = m_pPressed;
    if (pressed && m_pPressed == m_pHover && !pressed->m_noCommand) {
        const plat::Point at = pressed->GetDialogPos();
        pressed->OnDblClick(x - at.x, y - at.y);
    }
    m_frame.OnDoubleClick(x, y);
}

void CSkinDlg_Base::onRButtonDown(int x, int y) {
    TooltipInput(true, x, y);
    m_pPressed = m_pHover;
}

void CSkinDlg_Base::onRButtonUp(int x, int y) {
    if (m_captureMode && !InClient(x, y)) {
        OnCommand(cmd::kDefaultCancel, 0);
        return;
    }
    // A right click ends a plain press too; a frame drag goes on until the left button is released.
    const skin::PointerMode before = m_pointer.Mode();
    m_pointer.SetMode(skin::PointerMode::RightReleasing);
    UpdateHover(x, y, skin::kMouseRightRelease);
    m_pointer.SetMode(m_pointer.FrameDragging() ? before : skin::PointerMode::Idle);
    const skin::ElementHandle pressed = m_pPressed;
    if (CSkinElement* e = pressed; e && pressed == m_pHover) {
        const plat::Point at = e->GetDialogPos();
        e->OnRightClick(x - at.x, y - at.y);
        FirePressedCommand(pressed, &CSkinElement::m_rightCommand, &CSkinElement::m_rightParam);
    }
    m_pPressed = nullptr;
    if (m_captureMode && m_result == 0)
        setCapture();
}

bool CSkinDlg_Base::onMouseWheel(int delta, int x, int y) {
    TooltipInput(true, x, y);
    if (m_pointer.FrameDragging())
        return false;
    // The wheel scrolls the innermost element under the pointer that has more content than it shows, so a
    // long list of children scrolls wherever the pointer rests on it.
    for (CSkinElement* e = m_pHover; e; e = (e->m_pHolder == e ? nullptr : e->m_pHolder)) {
        const int inset = e->IsHolder() ? 2 * static_cast<CSkinDlgHolder*>(e)->Inset() : 0;
        const int visible = e->m_height - e->m_viewTop - e->m_bottomInset - inset;
        if (e->m_contentHeight <= visible)
            continue;
        const int offset = skin::WheelScrollOffset(e->m_scrollY, delta, e->m_contentHeight, visible);
        if (offset != e->m_scrollY) {
            e->m_scrollY = offset;
            ++e->m_changeCount;
            e->Redraw();
        }
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------------------
// Text drops and drags

void CSkinDlg_Base::ListForDragDrop(CSkinElement* element) {
    m_elements.push_back(element);
}

void CSkinDlg_Base::UnlistForDragDrop(CSkinElement* element) {
    std::erase(m_elements, element);
}

CSkinElement* CSkinDlg_Base::DragDropElementAt(int x, int y, plat::Point* at) const {
    for (CSkinElement* e : m_elements) {
        if (!e->m_visible || !e->m_pHolder)
            continue;
        *at = e->GetDialogPos();
        // Strictly inside: the element's edges belong to its neighbours.
        if (at->x < x && x < at->x + e->m_width && at->y < y && y < at->y + e->m_height)
            return e;
    }
    return nullptr;
}

bool CSkinDlg_Base::DropTextAt(int x, int y, const QString* text) {
    plat::Point at;
    CSkinElement* e = DragDropElementAt(x, y, &at);
    return e && e->OnDropText(x - at.x, y - at.y, text);
}

bool CSkinDlg_Base::BeginDragAt(int x, int y, QString* text) {
    plat::Point at;
    CSkinElement* e = DragDropElementAt(x, y, &at);
    return e && e->OnBeginDrag(x - at.x, y - at.y, text);
}

void CSkinDlg_Base::onDragEnter() {
    m_pointer.DropEnters();
}

bool CSkinDlg_Base::onDragOver(int x, int y) {
    m_pointer.DropEnters();
    return DropTextAt(x, y, nullptr);
}

bool CSkinDlg_Base::onDrop(int x, int y, const QString& text) {
    m_pointer.DropLeaves();
    DropTextAt(x, y, &text);
    return true;
}

void CSkinDlg_Base::onDragLeave() {
    m_pointer.DropLeaves();
}
