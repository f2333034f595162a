#include "skin/skin_dlg_base.h"

#include "core/clock.h"
#include "platform/keys.h"
#include "platform/screens.h"
#include "platform/shell.h"
#include "skin/border_drag.h"
#include "skin/glow_blur.h"
#include "skin/markup_text.h"
#include "skin/scroll_geometry.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"

#include <QDir>
#include <QFileInfo>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

const QString kArial = u"Arial"_s;
const QString kProductName = u"Tarnwick 2.0"_s;

// Caption buttons: atlas images (normal, hot) 21 x 21 and their place from the right edge.
struct CaptionButton {
    plat::Point normal;
    plat::Point hot;
    int fromRight;
    const char16_t* command;
    unsigned id;
};
constexpr CaptionButton kCaptionMinimize{
    {43, 0}, {43, 22}, -70, u"Default_minimize", skin::kMinimizeButtonId};
constexpr CaptionButton kCaptionMaximize{
    {65, 0}, {65, 22}, -48, u"Default_maximize", skin::kMaximizeButtonId};
constexpr CaptionButton kCaptionRestore{{87, 0}, {87, 22}, -48, u"Default_restore", skin::kRestoreButtonId};
constexpr CaptionButton kCaptionClose{{109, 0}, {109, 22}, -26, u"Default_close", skin::kCloseButtonId};
constexpr int kCaptionButtonSize = 21;
constexpr int kCaptionButtonTop = 4;

enum FontKind { kFontNormal, kFontBold, kFontSup };

} // namespace

CSkinElement* CSkinDlg_Base::s_hoverSlot = nullptr;

CSkinDlg_Base::CSkinDlg_Base(CSkinDlg_Base* parent, plat::WindowKind kind)
    : plat::Window(parent, kind), m_font(kArial, 15, plat::kFontWeightNormal),
      m_fontBold14(kArial, 14, plat::kFontWeightBold), m_fontBold15(kArial, 15, plat::kFontWeightBold),
      m_fontMarkupBold(kArial, 15, plat::kFontWeightBold), m_fontBold19(kArial, 19, plat::kFontWeightBold),
      m_fontSup(kArial, 12, plat::kFontWeightNormal), m_nextElementId(skin::kFirstElementId),
      m_pParentDlg(parent) {
    m_hasParent = parent != nullptr;
    m_rootHolder.m_pDlg = this;
    if (parent) {
        m_pAtlasDC = parent->m_pAtlasDC;
        parent->m_tooltipDue = -1;
        parent->m_tooltipText.clear();
    }
    if (!m_pAtlasDC) {
        m_pAtlasDC = skin::Atlas();
    }
    m_measureDC.create(1, 1);
    m_measureDC.selectFont(&m_font);
}

CSkinDlg_Base::~CSkinDlg_Base() {
    ClearHoverSlot(nullptr);
    // Elements that outlive the dialog must not reach back into it.
    for (CSkinElement* e : m_elements) {
        e->m_inElementList = false;
    }
    m_elements.clear();
    m_pHover = m_pPressed = m_pFocus = nullptr;
    std::vector<CSkinElement*> pending{&m_rootHolder};
    while (!pending.empty()) {
        CSkinElement* e = pending.back();
        pending.pop_back();
        e->m_pDlg = nullptr;
        if (e->IsHolder()) {
            for (const auto& child : static_cast<CSkinDlgHolder*>(e)->Children()) {
                pending.push_back(child.element);
            }
        }
    }
}

plat::DeviceContext& CSkinDlg_Base::MeasureDC() {
    return m_measureDC;
}

void CSkinDlg_Base::ClearHoverSlot(CSkinElement* element) {
    if (!element || s_hoverSlot == element) {
        s_hoverSlot = nullptr;
    }
}

void CSkinDlg_Base::ForgetElement(CSkinElement* element) {
    if (!element) {
        return;
    }
    if (m_pHover && m_pHover->IsWithin(element)) {
        m_pHover = nullptr;
    }
    if (m_pPressed && m_pPressed->IsWithin(element)) {
        m_pPressed = nullptr;
    }
    if (m_pFocus && m_pFocus->IsWithin(element)) {
        m_pFocus = nullptr;
        if (m_ready) {
            setFocus();
        }
    }
    if (s_hoverSlot && s_hoverSlot->IsWithin(element)) {
        s_hoverSlot = nullptr;
    }
}

QString CSkinDlg_Base::UserManualPath() {
    return QDir(plat::programFolder()).filePath(u"User Manual.pdf"_s);
}

// ---------------------------------------------------------------------------------------------------------------
// Life cycle

void CSkinDlg_Base::onInitDialog() {
    setShowInTaskbar(m_framed && !m_hasParent);
    setFocus();
    m_rootHolder.Create(&m_rootHolder, ++m_nextElementId);
    m_rootHolder.SetPosition(0, 0, m_width, m_height, 0);
    SuspendPaint();
    CreateElements();
    if (m_framed) {
        CreateCaptionButtons();
    }
    m_ready = true;
    // The window manager keeps to the border drag's limits.
    setSizeLimits(m_framed && m_maximizable,
                  {qMax(skin::kResizeFloor, m_minWidth), qMax(skin::kResizeFloor, m_minHeight)});
    const plat::Rect r = windowRect();
    setGeometry(plat::Rect::fromXywh(r.left, r.top, qMax(m_width, m_minWidth), qMax(m_height, m_minHeight)));
    if (!m_keepPosition) {
        centerOnParent();
    }
    if (m_startMaximized) {
        OnCommand(u"Default_maximize"_s, 0);
    }
    SetTitle(m_title);
    const plat::Size client = clientSize();
    if (client.cx > 0 && client.cy > 0) {
        m_width = qMax(client.cx, m_minWidth);
        m_height = qMax(client.cy, m_minHeight);
    }
    OnSizeChanged(m_maximized ? plat::SizeType::Maximized : plat::SizeType::Restored);
    m_paintSuspended = false;
    show();
    setTimer(skin::kTickTimerId, skin::kTickMs);
    if (m_captureMode) {
        setCapture();
        setFocus();
    }
    acceptDrops(true);
    m_shadow.Create(this);
}

void CSkinDlg_Base::CreateCaptionButtons() {
    auto make = [this](CSkinButton& button, const CaptionButton& look, bool visible) {
        button.Create(&m_rootHolder, look.id, QString(), QString::fromUtf16(look.command), 0, QString());
        button.m_takesKeys = false;
        button.SetImages(look.normal.x, look.normal.y, look.hot.x, look.hot.y, look.hot.x, look.hot.y,
                         look.normal.x, look.normal.y, kCaptionButtonSize, kCaptionButtonSize, 0);
        button.m_visible = visible;
        m_rootHolder.SetResizeRule(&button, look.fromRight, kCaptionButtonTop, kCaptionButtonSize,
                                   kCaptionButtonSize);
    };
    make(m_btnMinimize, kCaptionMinimize, m_minimizable);
    make(m_btnMaximize, kCaptionMaximize, m_minimizable && m_maximizable);
    make(m_btnRestore, kCaptionRestore, false);
    make(m_btnClose, kCaptionClose, true);
}

void CSkinDlg_Base::onDestroy() {
    m_shadow.OnParentDestroy();
    removeTrayIcon();
    ClearHoverSlot(nullptr);
}

bool CSkinDlg_Base::OnCommand(const QString& command, int /*param*/) {
    if (command == "Default_minimize"_L1) {
        if (m_minimizable) {
            minimize();
        }
    } else if (command == "Default_maximize"_L1) {
        if (m_maximizable) {
            maximize();
        }
    } else if (command == "Default_restore"_L1) {
        if (m_maximizable) {
            restore();
        }
        removeTrayIcon();
    } else if (command == "Default_close"_L1 || command == "Default_cancel"_L1) {
        EndSkinDialog(skin::kResultCancel);
    } else if (command == "Default_ok"_L1) {
        EndSkinDialog(skin::kResultOk);
    } else {
        return false;
    }
    return true;
}

void CSkinDlg_Base::EndSkinDialog(int result) {
    m_result = result;
    if (m_captureMode) {
        releaseCapture();
    }
}

void CSkinDlg_Base::SetTitle(const QString& text) {
    m_title = text;
    setWindowText(text);
    Invalidate();
}

void CSkinDlg_Base::RedrawNow() {
    m_paintSuspended = false;
    redrawNow();
}

void CSkinDlg_Base::Invalidate() {
    if (m_ready) {
        invalidate();
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Painting and size

void CSkinDlg_Base::onPaint(plat::DeviceContext& dc) {
    if (m_paintSuspended) {
        return;
    }
    RenderAll(dc);
    m_shadow.OnParentPaint();
}

void CSkinDlg_Base::RenderAll(plat::DeviceContext& dc) {
    DrawBackground(dc);
    const plat::Font* previous = dc.selectFont(&m_font);
    dc.setBkMode(plat::BkMode::Transparent);
    m_rootHolder.Draw(dc, 0, 0, true);
    dc.selectFont(previous);
}

void CSkinDlg_Base::onMove(int /*x*/, int /*y*/) {
    m_shadow.OnParentMove();
}

void CSkinDlg_Base::onSize(plat::SizeType type, int width, int height) {
    m_shadow.OnParentSize(type, width, height);
    if (!m_ready) {
        return;
    }
    switch (type) {
    case plat::SizeType::Maximized:
        m_maximized = true;
        m_minimized = false;
        break;
    case plat::SizeType::Minimized:
        if (m_pParentDlg) {
            m_pParentDlg->minimize();
        }
        m_minimized = true;
        // Without a system tray the window stays an ordinary minimised window, so it can always be reached.
        if (m_minimizeToTray && addTrayIcon(kProductName)) {
            hide();
        }
        break;
    case plat::SizeType::Restored:
        if (m_minimized && m_minimizeToTray && hasTrayIcon()) {
            removeTrayIcon();
            show();
            bringToFront();
        }
        if (m_pParentDlg && m_minimized) {
            m_pParentDlg->restore();
        }
        m_minimized = false;
        m_maximized = false;
        break;
    }
    if (type != plat::SizeType::Minimized && width > 0 && height > 0) {
        m_width = qMax(width, m_minWidth);
        m_height = qMax(height, m_minHeight);
    }
    OnSizeChanged(type);
    RedrawNow();
}

void CSkinDlg_Base::OnSizeChanged(plat::SizeType sizeType) {
    m_rootHolder.SetPosition(0, 0, m_width, m_height, 0);
    if (!m_framed) {
        return;
    }
    setRoundRectRegion(m_width, m_height, 4, 4);
    if (sizeType == plat::SizeType::Maximized) {
        m_btnRestore.m_visible = true;
        m_btnMaximize.m_visible = false;
    } else if (sizeType == plat::SizeType::Restored) {
        m_btnRestore.m_visible = false;
        m_btnMaximize.m_visible = m_minimizable && m_maximizable;
    }
    if (!m_maximizable && !m_minimizable) {
        m_btnMinimize.m_visible = false;
        m_btnMaximize.m_visible = false;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Mouse

void CSkinDlg_Base::SetEdgeFlags(int x, int y) {
    const bool resizable = m_framed && m_maximizable && !m_maximized && !m_resizing;
    if (resizable) {
        m_edgeLeft = x < skin::kResizeBorder;
        m_edgeTop = y < skin::kResizeBorder;
        m_edgeRight = x >= m_width - skin::kResizeBorder;
        m_edgeBottom = y >= m_height - skin::kResizeBorder;
    } else if (!m_resizing) {
        m_edgeLeft = m_edgeTop = m_edgeRight = m_edgeBottom = false;
    }
    // Any movable framed dialog can be dragged by its caption band, resizable or not.
    m_captionHit = m_framed && !m_maximized && y < skin::kCaptionBand && !m_edgeTop;
    if (!resizable) {
        return;
    }
    plat::CursorShape shape = plat::CursorShape::Arrow;
    if ((m_edgeLeft && m_edgeTop) || (m_edgeRight && m_edgeBottom)) {
        shape = plat::CursorShape::SizeNWSE;
    } else if ((m_edgeLeft && m_edgeBottom) || (m_edgeRight && m_edgeTop)) {
        shape = plat::CursorShape::SizeNESW;
    } else if (m_edgeLeft || m_edgeRight) {
        shape = plat::CursorShape::SizeWE;
    } else if (m_edgeTop || m_edgeBottom) {
        shape = plat::CursorShape::SizeNS;
    }
    setCursorShape(shape);
}

void CSkinDlg_Base::UpdateHover(int x, int y, int state) {
    m_pHover = nullptr;
    CSkinDlgHolder& root = m_rootHolder;
    if (x >= root.m_x && x < root.m_right && y >= root.m_y && y < root.m_bottom) {
        root.OnMouse(x - root.m_x, y - root.m_y, state);
    }
}

void CSkinDlg_Base::SyncHoverSlot() {
    if (m_pHover == s_hoverSlot) {
        return;
    }
    if (CSkinElement* old = s_hoverSlot) {
        s_hoverSlot = nullptr;
        old->OnMouseLeave();
    }
    // The leave notification may have removed the hovered element; Detach then cleared m_pHover.
    s_hoverSlot = m_pHover;
    if (m_pHover) {
        m_pHover->OnMouseEnter();
    }
}

void CSkinDlg_Base::UpdateTooltipDue(int x, int y) {
    if (m_pHover && m_pHover == s_hoverSlot && m_tooltipRect.contains(x, y)) {
        return;
    }
    m_tooltipDue = -1;
    m_tooltipText.clear();
    ShowTooltip(false);
    QString text;
    plat::Rect rect;
    if (m_pHover && m_active && m_pHover->GetToolTip(text, &rect)) {
        m_tooltipText = text;
        m_tooltipRect = rect;
        m_tooltipDue = MonotonicMs() + skin::kTooltipDelayMs;
    } else {
        m_tooltipRect = plat::Rect{};
    }
}

void CSkinDlg_Base::TooltipInput(bool /*closeNow*/, int /*x*/, int /*y*/) {}

void CSkinDlg_Base::onMouseMove(int x, int y) {
    m_lastMouse = {x, y};
    SetEdgeFlags(x, y);
    if (m_resizing || m_moving || m_dragOver || m_buttonState == skin::kMouseRightRelease) {
        return;
    }
    if (m_buttonState == skin::kMouseHeld && m_dragArmed &&
        std::abs(x - m_pressPoint.x) + std::abs(y - m_pressPoint.y) >= skin::kDragStartDistance) {
        QString text;
        m_dragArmed = false;
        if (BeginDragAt(x, y, &text)) {
            releaseCapture();
            startTextDrag(text);
            if (m_pPressed) {
                m_pPressed->OnMouse(0, 0, skin::kMouseMove);
            }
            m_pPressed = nullptr;
            m_buttonState = 0;
            return;
        }
    }
    if (m_pPressed &&
        (m_pPressed->m_wantsAllMoves || m_pPressed->m_scrollMode != CSkinElement::kScrollNone)) {
        const plat::Point at = m_pPressed->GetDialogPos();
        m_pressPos = {x - at.x, y - at.y};
        m_pPressed->OnMouse(x - at.x, y - at.y, m_buttonState);
        return;
    }
    UpdateHover(x, y, m_buttonState);
    if (m_pPressed) {
        const plat::Point at = m_pPressed->GetDialogPos();
        m_pressPos = {x - at.x, y - at.y};
    }
    if (m_tooltipShown) {
        TooltipInput(false, x, y);
    } else {
        UpdateTooltipDue(x, y);
    }
    SyncHoverSlot();
}

void CSkinDlg_Base::onLButtonDown(int x, int y) {
    TooltipInput(true, x, y);
    if (m_captureMode && !InClient(x, y)) {
        OnCommand(u"Default_cancel"_s, 0);
        return;
    }
    m_buttonState = skin::kMouseHeld;
    UpdateHover(x, y, m_buttonState);
    m_pPressed = m_pHover;
    if (!m_pHover) {
        if (m_pFocus) {
            m_pFocus->OnKillFocus();
        }
    } else if (m_pHover != m_pFocus) {
        m_pHover->SetFocus();
    }
    if (m_pPressed) {
        const plat::Point at = m_pPressed->GetDialogPos();
        m_pressPos = {x - at.x, y - at.y};
    }
    m_dragArmed = BeginDragAt(x, y, nullptr);
    if (m_dragArmed) {
        m_pressPoint = {x, y};
    }
    if (m_framed && !m_maximized) {
        SetEdgeFlags(x, y);
        if (m_maximizable && (m_edgeLeft || m_edgeTop || m_edgeRight || m_edgeBottom)) {
            m_resizing = true;
            m_dragAnchor = plat::cursorPos();
            setTimer(skin::kResizeTimerId, skin::kDragStepMs);
        } else if (m_movable && m_captionHit) {
            m_moving = true;
            m_dragAnchor = plat::cursorPos();
            setTimer(skin::kMoveTimerId, skin::kDragStepMs);
        }
    }
    if (!m_dragArmed && InClient(x, y)) {
        setCapture();
    }
    SyncHoverSlot();
    Invalidate();
}

void CSkinDlg_Base::StopDragging() {
    if (m_resizing) {
        killTimer(skin::kResizeTimerId);
    }
    if (m_moving) {
        killTimer(skin::kMoveTimerId);
    }
    m_resizing = false;
    m_moving = false;
}

void CSkinDlg_Base::onLButtonUp(int x, int y) {
    const bool dragged = m_resizing || m_moving || m_dragOver;
    StopDragging();
    m_dragOver = false;
    m_dragArmed = false;
    releaseCapture();
    if (m_maximizeTogglePending) {
        m_maximizeTogglePending = false;
        if (m_maximized) {
            restore();
        } else {
            maximize();
        }
    }
    m_buttonState = skin::kMouseReleased;
    if (!dragged) {
        UpdateHover(x, y, m_buttonState);
    }
    m_buttonState = 0;
    CSkinElement* pressed = m_pPressed;
    if (pressed && pressed == m_pHover) {
        if (pressed != m_pFocus) {
            if (m_pFocus) {
                m_pFocus->OnKillFocus();
            }
            // Every callback may remove elements; the dialog's pointers say whether pressed still exists.
            if (m_pPressed == pressed) {
                const plat::Point at = pressed->GetDialogPos();
                pressed->OnSetFocus(x - at.x, y - at.y);
            }
        }
        FirePressedCommand(pressed, &CSkinElement::m_command, &CSkinElement::m_param);
    }
    m_pPressed = nullptr;
    m_pHover = nullptr;
    if (m_result == 0) {
        UpdateHover(x, y, 0);
        if (m_captureMode && !(m_pHover && m_pHover->m_wantsAllMoves)) {
            setCapture();
        }
        Invalidate();
    }
}

void CSkinDlg_Base::FirePressedCommand(const CSkinElement* pressed, QString CSkinElement::*command,
                                       int CSkinElement::*param) {
    // A callback before this one may have removed the element; the pressed pointer says whether it is alive.
    if (m_pPressed != pressed || pressed->m_noCommand || (pressed->*command).isEmpty()) {
        return;
    }
    // Copies: the command may delete the element that holds them.
    const QString text = pressed->*command;
    const int value = pressed->*param;
    m_pPressed = nullptr;
    OnCommand(text, value);
}

void CSkinDlg_Base::onLButtonDblClk(int x, int y) {
    m_buttonState = skin::kMouseHeld;
    UpdateHover(x, y, m_buttonState);
    m_pPressed = m_pHover;
    m_buttonState = skin::kMouseReleased;
    UpdateHover(x, y, m_buttonState);
    m_buttonState = skin::kMouseHeld;
    CSkinElement* pressed = m_pPressed;
    if (pressed && pressed == m_pHover && !pressed->m_noCommand) {
        const plat::Point at = pressed->GetDialogPos();
        pressed->OnDblClick(x - at.x, y - at.y);
    }
    if (m_framed && x < 35 && y < skin::kCaptionBand && m_closable && !m_hasParent) {
        OnCommand(u"Default_close"_s, 0);
    } else if (m_framed && m_maximizable && y < skin::kCaptionBand) {
        m_maximizeTogglePending = true;
    }
}

void CSkinDlg_Base::onRButtonDown(int x, int y) {
    TooltipInput(true, x, y);
    m_pPressed = m_pHover;
}

void CSkinDlg_Base::onRButtonUp(int x, int y) {
    if (m_captureMode && !InClient(x, y)) {
        OnCommand(u"Default_cancel"_s, 0);
        return;
    }
    m_buttonState = skin::kMouseRightRelease;
    UpdateHover(x, y, m_buttonState);
    m_buttonState = 0;
    CSkinElement* pressed = m_pPressed;
    if (pressed && pressed == m_pHover) {
        const plat::Point at = pressed->GetDialogPos();
        pressed->OnRightClick(x - at.x, y - at.y);
        FirePressedCommand(pressed, &CSkinElement::m_rightCommand, &CSkinElement::m_rightParam);
    }
    m_pPressed = nullptr;
    if (m_captureMode && m_result == 0) {
        setCapture();
    }
}

bool CSkinDlg_Base::onMouseWheel(int delta, int x, int y) {
    TooltipInput(true, x, y);
    if (m_resizing || m_moving) {
        return false;
    }
    // The wheel scrolls the innermost element under the pointer that has more content than it shows, so a
    // long list of children scrolls wherever the pointer rests on it.
    for (CSkinElement* e = m_pHover; e; e = (e->m_pHolder == e ? nullptr : e->m_pHolder)) {
        const int inset = e->IsHolder() ? 2 * static_cast<CSkinDlgHolder*>(e)->Inset() : 0;
        const int visible = e->m_height - e->m_viewTop - e->m_bottomInset - inset;
        if (e->m_contentHeight <= visible) {
            continue;
        }
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
// Keyboard

bool CSkinDlg_Base::onKeyDown(int key, unsigned modifiers, bool /*autoRepeat*/) {
    TooltipInput(true, m_lastMouse.x, m_lastMouse.y);
    CSkinElement* focus = m_pFocus;
    if (key == plat::kKeyTab) {
        const bool backwards = (modifiers & plat::kModShift) != 0;
        if (focus && focus->m_pHolder) {
            return focus->m_pHolder->FocusNext(focus, backwards);
        }
        // Nothing focused yet: Tab starts at the first element (Shift+Tab at the last).
        return m_rootHolder.FocusNext(nullptr, backwards);
    }
    if (focus && (focus->m_takesKeys || focus->m_wantsKeys)) {
        focus->OnKeyDown(key);
        // F1 still asks for help, whatever has the focus.
        return key != plat::kKeyF1;
    }
    return false;
}

void CSkinDlg_Base::ClickFocused() {
    CSkinElement* focus = m_pFocus;
    focus->OnMouse(0, 0, skin::kMouseHeld);
    if (m_pFocus != focus) {
        return;
    }
    focus->OnMouse(0, 0, skin::kMouseReleased);
    if (m_pFocus != focus || focus->m_command.isEmpty()) {
        return;
    }
    const QString command = focus->m_command;
    const int param = focus->m_param;
    OnCommand(command, param);
}

bool CSkinDlg_Base::onKeyUp(int key, unsigned /*modifiers*/, bool autoRepeat) {
    // A held key repeats its releases too; actions on release happen once, when the key really goes up.
    if (autoRepeat) {
        return true;
    }
    const bool enterOrSpace = key == plat::kKeyEnter || key == plat::kKeySpace;
    if (m_pFocus && m_pFocus->m_takesKeys) {
        if (key == plat::kKeyEscape) {
            m_pFocus->OnKillFocus();
        } else if (enterOrSpace) {
            ClickFocused();
        }
    } else if (key == plat::kKeyEscape) {
        OnCommand(u"Default_cancel"_s, 0);
    } else if (enterOrSpace) {
        OnCommand(u"Default_ok"_s, 0);
    }
    OnKeyPressed(key);
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Timers

void CSkinDlg_Base::onTimer(unsigned id) {
    if (m_result != 0) {
        endDialog(m_result);
        return;
    }
    if (id == static_cast<unsigned>(skin::kTickTimerId)) {
        if (!m_resizing && !m_moving) {
            if (m_pPressed && m_pPressed->m_wantsTicks) {
                m_pPressed->OnTick();
            }
            if (m_tooltipDue >= 0 && MonotonicMs() > m_tooltipDue && !m_tooltipText.isEmpty()) {
                m_tooltipDue = -1;
                ShowTooltip(true);
            }
        }
        if (m_buttonState == skin::kMouseHeld && m_pPressed && m_pPressed->m_wantsTicks) {
            m_pPressed->OnMouse(m_pressPos.x, m_pressPos.y, skin::kMouseHeld);
        }
    } else if (id == static_cast<unsigned>(skin::kResizeTimerId)) {
        ResizeStep(plat::cursorPos());
    } else if (id == static_cast<unsigned>(skin::kMoveTimerId)) {
        MoveStep(plat::cursorPos());
    }
}

void CSkinDlg_Base::ResizeStep(plat::Point cursor) {
    const plat::Rect window = windowRect();
    const skin::ResizeEdges edges{m_edgeLeft, m_edgeTop, m_edgeRight, m_edgeBottom};
    const plat::Rect next = skin::ResizedRect(window, plat::virtualDesktopRect(), cursor, edges, m_minWidth,
                                              m_minHeight, skin::kResizeFloor);
    if (next != window && !(next.width() < m_minWidth && next.height() < m_minHeight)) {
        setGeometry(next);
    }
    m_dragAnchor = cursor;
}

void CSkinDlg_Base::MoveStep(plat::Point cursor) {
    const int dx = cursor.x - m_dragAnchor.x;
    const int dy = cursor.y - m_dragAnchor.y;
    if (dx != 0 || dy != 0) {
        const plat::Rect window = windowRect();
        move(window.left + dx, window.top + dy);
    }
    m_dragAnchor = cursor;
}

// ---------------------------------------------------------------------------------------------------------------
// Activation, closing, help, drops, tray

void CSkinDlg_Base::onActivate(bool active) {
    m_active = active;
    RedrawNow();
}

void CSkinDlg_Base::onKillFocus() {
    if (m_pFocus) {
        m_pFocus->OnKillFocus();
    }
    OnDialogKillFocus();
}

void CSkinDlg_Base::onClose() {
    if (m_pFocus) {
        m_pFocus->OnKillFocus();
    }
    OnCommand(u"Default_close"_s, 0);
}

void CSkinDlg_Base::onHelp() {
    const QString manual = UserManualPath();
    if (QFileInfo::exists(manual)) {
        plat::openFile(manual);
    }
}

bool CSkinDlg_Base::DropTextAt(int x, int y, const QString* text) {
    for (size_t i = 0; i < m_elements.size(); ++i) {
        CSkinElement* e = m_elements[i];
        if (!e->m_visible || !e->m_pHolder) {
            continue;
        }
        const plat::Point at = e->GetDialogPos();
        if (at.x < x && x < at.x + e->m_width && at.y < y && y < at.y + e->m_height) {
            return e->OnDropText(x - at.x, y - at.y, text);
        }
    }
    return false;
}

bool CSkinDlg_Base::BeginDragAt(int x, int y, QString* text) {
    for (size_t i = 0; i < m_elements.size(); ++i) {
        CSkinElement* e = m_elements[i];
        if (!e->m_visible || !e->m_pHolder) {
            continue;
        }
        const plat::Point at = e->GetDialogPos();
        if (at.x < x && x < at.x + e->m_width && at.y < y && y < at.y + e->m_height) {
            return e->OnBeginDrag(x - at.x, y - at.y, text);
        }
    }
    return false;
}

void CSkinDlg_Base::onDragEnter() {
    m_dragOver = true;
}

bool CSkinDlg_Base::onDragOver(int x, int y) {
    m_dragOver = true;
    return DropTextAt(x, y, nullptr);
}

bool CSkinDlg_Base::onDrop(int x, int y, const QString& text) {
    m_dragOver = false;
    m_dragArmed = false;
    DropTextAt(x, y, &text);
    return true;
}

void CSkinDlg_Base::onDragLeave() {
    m_dragOver = false;
    m_dragArmed = false;
}

void CSkinDlg_Base::onTrayIcon(plat::TrayClick click) {
    if (click != plat::TrayClick::Left && click != plat::TrayClick::Double) {
        return;
    }
    removeTrayIcon();
    show();
    if (m_maximized) {
        maximize();
    } else {
        restore();
    }
    bringToFront();
}

// ---------------------------------------------------------------------------------------------------------------
// Markup and glow text

const plat::Font& CSkinDlg_Base::ResolveFont(int kind, const plat::Font* normal,
                                             const plat::Font* bold) const {
    switch (kind) {
    case kFontBold:
        return bold ? *bold : m_fontMarkupBold;
    case kFontSup:
        return m_fontSup;
    default:
        return normal ? *normal : m_font;
    }
}

namespace {

int FontKindOf(skin::MarkupFont font) {
    switch (font) {
    case skin::MarkupFont::Bold:
        return kFontBold;
    case skin::MarkupFont::Sup:
        return kFontSup;
    default:
        return kFontNormal;
    }
}

} // namespace

plat::Size CSkinDlg_Base::MeasureMarkupText(const QString& text, const plat::Font* normal,
                                            const plat::Font* bold) {
    plat::Size size;
    for (const skin::MarkupRun& run : skin::TokenizeMarkup(text, skin::MarkupTags::Title)) {
        const plat::Size runSize = ResolveFont(FontKindOf(run.font), normal, bold).textExtent(run.text);
        size.cx += runSize.cx;
        size.cy = qMax(size.cy, runSize.cy);
    }
    return size;
}

plat::Size CSkinDlg_Base::DrawMarkupText(plat::DeviceContext& dc, const QString& text, int x, int y,
                                         plat::ColorRef color, const plat::Font* normal,
                                         const plat::Font* bold) {
    const plat::Font* previousFont = dc.font();
    const plat::ColorRef previousColor = dc.setTextColor(color);
    dc.setPen(color, 1);
    plat::Size size;
    int cx = x;
    for (const skin::MarkupRun& run : skin::TokenizeMarkup(text, skin::MarkupTags::Title)) {
        dc.selectFont(&ResolveFont(FontKindOf(run.font), normal, bold));
        const plat::Size extent = dc.getTextExtent(run.text);
        dc.textOut(cx, y, run.text);
        if (run.underline) {
            dc.moveTo(cx, y + extent.cy);
            dc.lineTo(cx + extent.cx, y + extent.cy);
        }
        cx += extent.cx;
        size.cy = qMax(size.cy, extent.cy);
    }
    size.cx = cx - x;
    dc.selectFont(previousFont);
    dc.setTextColor(previousColor);
    return size;
}

plat::Size CSkinDlg_Base::DrawListMarkupText(plat::DeviceContext& dc, const QString& text, int left, int top,
                                             int right, int bottom, plat::ColorRef color,
                                             const plat::Font* normal, const plat::Font* bold) {
    const plat::Font* previousFont = dc.font();
    const plat::ColorRef previousColor = dc.setTextColor(color);
    dc.setPen(color, 1);
    plat::Size size;
    int cx = left;
    for (const skin::MarkupRun& run : skin::TokenizeMarkup(text, skin::MarkupTags::List)) {
        if (cx >= right) {
            break;
        }
        dc.selectFont(&ResolveFont(FontKindOf(run.font), normal, bold));
        const plat::Size extent = dc.getTextExtent(run.text);
        plat::Rect cell{cx, top, right, bottom};
        dc.drawText(run.text, cell,
                    plat::kTextSingleLine | plat::kTextVCenter | plat::kTextNoPrefix |
                        plat::kTextWordEllipsis);
        const int advance = qMin(extent.cx, right - cx);
        if (run.underline) {
            const int lineY = top + (bottom - top + extent.cy) / 2;
            dc.moveTo(cx, lineY);
            dc.lineTo(cx + advance, lineY);
        }
        cx += advance;
        size.cy = qMax(size.cy, extent.cy);
    }
    size.cx = cx - left;
    dc.selectFont(previousFont);
    dc.setTextColor(previousColor);
    return size;
}

plat::Size CSkinDlg_Base::DrawGlowText(plat::DeviceContext& dc, const QString& text, int x, int y,
                                       plat::ColorRef textColor, plat::ColorRef glowColor,
                                       const plat::Font* normal, const plat::Font* bold, int divisor) {
    constexpr int kPadLeft = 15;
    constexpr int kPadTop = 10;
    const int div = qMax(1, divisor);
    const QString key = u"%1|%2|%3|%4|%5"_s.arg(glowColor)
                            .arg(div)
                            .arg(quintptr(normal), 0, 16)
                            .arg(quintptr(bold), 0, 16)
                            .arg(text);
    const plat::DeviceContext* layer = m_glowCache.Find(key);
    if (!layer) {
        // The work area follows the text, however long: the text plus the room the halo spreads into.
        const plat::Size textSize = MeasureMarkupText(text, normal, bold);
        const int w = textSize.cx + 35;
        const int h = textSize.cy + 20;
        auto glow = std::make_unique<plat::DeviceContext>(w, h);
        plat::DeviceContext work(w, h);
        work.setBkMode(plat::BkMode::Transparent);
        DrawMarkupText(work, text, kPadLeft, kPadTop, 0xFFFFFF, normal, bold);
        QByteArray plane(qsizetype(w) * h, '\0');
        for (int row = 0; row < h && !work.isNull(); ++row) {
            const std::uint32_t* line = work.scanLine(row);
            for (int col = 0; col < w; ++col) {
                const std::uint32_t p = line[col];
                plane[qsizetype(row) * w + col] =
                    char((((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3);
            }
        }
        const QByteArray blurred = skin::BlurGlowPlane(plane, w, h);
        for (int row = 0; row < h && !glow->isNull(); ++row) {
            std::uint32_t* line = glow->scanLine(row);
            for (int col = 0; col < w; ++col) {
                const int alpha = quint8(blurred.at(qsizetype(row) * w + col)) / div;
                line[col] = plat::premultipliedArgb(glowColor, alpha);
            }
        }
        layer = &m_glowCache.Insert(key, std::move(glow));
    }
    if (!layer->isNull()) {
        dc.alphaBlend(x - kPadLeft, y - kPadTop, layer->width(), layer->height(), *layer, 0, 0,
                      layer->width(), layer->height(), 255, true);
    }
    return DrawMarkupText(dc, text, x, y, textColor, normal, bold);
}
