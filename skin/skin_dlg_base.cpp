#include "skin/skin_dlg_base.h"

#include "core/clock.h"
#include "platform/keys.h"
#include "platform/screens.h"
#include "platform/shell.h"
#include "skin/commands.h"
#include "skin/dialog_frame.h"
#include "skin/glow_text.h"
#include "skin/scroll_geometry.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

const QString kArial = u"Arial"_s;

} // namespace

skin::ElementHandle CSkinDlg_Base::s_hoverSlot;

CSkinDlg_Base::CSkinDlg_Base(CSkinDlg_Base* parent, plat::WindowKind kind)
    : plat::Window(parent, kind), m_font(kArial, 15, plat::kFontWeightNormal),
      m_fontBold14(kArial, 14, plat::kFontWeightBold), m_fontBold15(kArial, 15, plat::kFontWeightBold),
      m_fontMarkupBold(kArial, 15, plat::kFontWeightBold), m_fontBold19(kArial, 19, plat::kFontWeightBold),
      m_fontSup(kArial, 12, plat::kFontWeightNormal), m_nextElementId(skin::kFirstElementId) {
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
    if (forget(m_pFocus) && m_ready) {
        setFocus();
    }
    forget(s_hoverSlot);
}

QString CSkinDlg_Base::UserManualPath() {
    return QDir(plat::programFolder()).filePath(u"User Manual.pdf"_s);
}

// ---------------------------------------------------------------------------------------------------------------
// Life cycle

void CSkinDlg_Base::onInitDialog() {
    setShowInTaskbar(m_framed && !parent());
    setFocus();
    m_rootHolder.Create(&m_rootHolder, ++m_nextElementId);
    m_rootHolder.SetPosition(0, 0, m_width, m_height, 0);
    SuspendPaint();
    CreateElements();
    if (m_framed) {
        m_frame.CreateCaptionButtons();
    }
    m_ready = true;
    const plat::Rect r = windowRect();
    setGeometry(plat::Rect::fromXywh(r.left, r.top, qMax(m_width, m_minWidth), qMax(m_height, m_minHeight)));
    if (!m_keepPosition) {
        centerOnParent();
    }
    if (m_startMaximized) {
        OnCommand(cmd::kDefaultMaximize, 0);
    }
    SetTitle(m_title);
    const plat::Size client = clientSize();
    if (client.cx > 0 && client.cy > 0) {
        m_width = qMax(client.cx, m_minWidth);
        m_height = qMax(client.cy, m_minHeight);
    }
    OnSizeChanged(isMaximized() ? plat::SizeType::Maximized : plat::SizeType::Restored);
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

void CSkinDlg_Base::onDestroy() {
    m_shadow.OnParentDestroy();
    removeTrayIcon();
    ClearHoverSlot(nullptr);
}

bool CSkinDlg_Base::OnCommand(const QString& command, int /*param*/) {
    if (command == cmd::kDefaultMinimize) {
        if (m_minimizable) {
            minimize();
        }
    } else if (command == cmd::kDefaultMaximize) {
        if (m_maximizable) {
            maximize();
        }
    } else if (command == cmd::kDefaultRestore) {
        if (m_maximizable) {
            restore();
        }
        removeTrayIcon();
    } else if (command == cmd::kDefaultClose || command == cmd::kDefaultCancel) {
        EndSkinDialog(skin::kResultCancel);
    } else if (command == cmd::kDefaultOk) {
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
    m_frame.OnSize(type);
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
    m_frame.Layout(sizeType);
}

// ---------------------------------------------------------------------------------------------------------------
// Mouse

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
    if (CSkinElement* hover = m_pHover) {
        hover->OnMouseEnter();
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

void CSkinDlg_Base::onMouseMove(int x, int y) {
    m_pointer.lastMouse = {x, y};
    m_frame.Track(x, y, m_pointer.Mode() == skin::PointerMode::Resizing);
    if (m_pointer.HoverFrozen()) {
        return;
    }
    if (m_pointer.DragStarts({x, y})) {
        QString text;
        m_pointer.SetMode(skin::PointerMode::Pressed);
        if (BeginDragAt(x, y, &text)) {
            releaseCapture();
            startTextDrag(text);
            if (CSkinElement* pressed = m_pPressed) {
                pressed->OnMouse(0, 0, skin::kMouseMove);
            }
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
        OnCommand(cmd::kDefaultCancel, 0);
        return;
    }
    m_pointer.SetMode(skin::PointerMode::Pressed);
    UpdateHover(x, y, skin::kMouseHeld);
    m_pPressed = m_pHover;
    if (CSkinElement* hover = m_pHover; !hover) {
        if (CSkinElement* focus = m_pFocus) {
            focus->OnKillFocus();
        }
    } else if (m_pHover != m_pFocus) {
        hover->SetFocus();
    }
    if (const CSkinElement* pressed = m_pPressed) {
        const plat::Point at = pressed->GetDialogPos();
        m_pointer.pressPos = {x - at.x, y - at.y};
    }
    const bool armed = BeginDragAt(x, y, nullptr);
    if (armed) {
        m_pointer.ArmDrag({x, y});
    }
    if (const skin::PointerMode frameDrag = m_frame.BeginDrag(x, y); frameDrag != skin::PointerMode::Idle) {
        m_pointer.SetMode(frameDrag);
    }
    if (!armed && InClient(x, y)) {
        setCapture();
    }
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
    if (pressed && pressed == m_pHover) {
        if (pressed != m_pFocus) {
            if (CSkinElement* focus = m_pFocus) {
                focus->OnKillFocus();
            }
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
        if (m_captureMode && !(hover && hover->m_wantsAllMoves)) {
            setCapture();
        }
        Invalidate();
    }
}

void CSkinDlg_Base::FirePressedCommand(const skin::ElementHandle& pressed, QString CSkinElement::*command,
                                       int CSkinElement::*param) {
    // A callback before this one may have removed the element, or taken it out of the dialog.
    const CSkinElement* e = pressed;
    if (!e || pressed != m_pPressed || e->m_noCommand || (e->*command).isEmpty()) {
        return;
    }
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
    if (m_captureMode && m_result == 0) {
        setCapture();
    }
}

bool CSkinDlg_Base::onMouseWheel(int delta, int x, int y) {
    TooltipInput(true, x, y);
    if (m_pointer.FrameDragging()) {
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
    TooltipInput(true, m_pointer.lastMouse.x, m_pointer.lastMouse.y);
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
    // Each call may remove the element or move the focus; the click goes on only while it keeps the focus.
    const skin::ElementHandle focus = m_pFocus;
    for (const int state : {skin::kMouseHeld, skin::kMouseReleased}) {
        CSkinElement* e = focus;
        if (!e || focus != m_pFocus) {
            return;
        }
        e->OnMouse(0, 0, state);
    }
    const CSkinElement* e = focus;
    if (!e || focus != m_pFocus || e->m_command.isEmpty()) {
        return;
    }
    const QString command = e->m_command;
    const int param = e->m_param;
    OnCommand(command, param);
}

bool CSkinDlg_Base::onKeyUp(int key, unsigned /*modifiers*/, bool autoRepeat) {
    // A held key repeats its releases too; actions on release happen once, when the key really goes up.
    if (autoRepeat) {
        return true;
    }
    const bool enterOrSpace = key == plat::kKeyEnter || key == plat::kKeySpace;
    if (CSkinElement* focus = m_pFocus; focus && focus->m_takesKeys) {
        if (key == plat::kKeyEscape) {
            focus->OnKillFocus();
        } else if (enterOrSpace) {
            ClickFocused();
        }
    } else if (key == plat::kKeyEscape) {
        OnCommand(cmd::kDefaultCancel, 0);
    } else if (enterOrSpace) {
        OnCommand(cmd::kDefaultOk, 0);
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
        if (!m_pointer.FrameDragging()) {
            if (CSkinElement* pressed = m_pPressed; pressed && pressed->m_wantsTicks) {
                pressed->OnTick();
            }
            if (m_tooltipDue >= 0 && MonotonicMs() > m_tooltipDue && !m_tooltipText.isEmpty()) {
                m_tooltipDue = -1;
                ShowTooltip(true);
            }
        }
        CSkinElement* pressed = m_pPressed;
        if (m_pointer.ElementState() == skin::kMouseHeld && pressed && pressed->m_wantsTicks) {
            pressed->OnMouse(m_pointer.pressPos.x, m_pointer.pressPos.y, skin::kMouseHeld);
        }
    } else if (id == static_cast<unsigned>(skin::kResizeTimerId)) {
        m_frame.ResizeStep(plat::cursorPos());
    } else if (id == static_cast<unsigned>(skin::kMoveTimerId)) {
        m_frame.MoveStep(plat::cursorPos());
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Activation, closing, help, drops, tray

void CSkinDlg_Base::onActivate(bool active) {
    m_active = active;
    RedrawNow();
}

void CSkinDlg_Base::onKillFocus() {
    if (CSkinElement* focus = m_pFocus) {
        focus->OnKillFocus();
    }
    OnDialogKillFocus();
}

void CSkinDlg_Base::onClose() {
    if (CSkinElement* focus = m_pFocus) {
        focus->OnKillFocus();
    }
    OnCommand(cmd::kDefaultClose, 0);
}

void CSkinDlg_Base::onHelp() {
    const QString manual = UserManualPath();
    if (QFileInfo::exists(manual)) {
        plat::openFile(manual);
    }
}

CSkinElement* CSkinDlg_Base::DragDropElementAt(int x, int y, plat::Point* at) const {
    for (CSkinElement* e : m_elements) {
        if (!e->m_visible || !e->m_pHolder) {
            continue;
        }
        *at = e->GetDialogPos();
        // Strictly inside: the element's edges belong to its neighbours.
        if (at->x < x && x < at->x + e->m_width && at->y < y && y < at->y + e->m_height) {
            return e;
        }
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

void CSkinDlg_Base::onTrayIcon(plat::TrayClick click) {
    m_frame.OnTrayClick(click);
}

// ---------------------------------------------------------------------------------------------------------------
// Markup and glow text

skin::MarkupFonts CSkinDlg_Base::MarkupFontsFor(const plat::Font* normal, const plat::Font* bold) const {
    return {normal ? normal : &m_font, bold ? bold : &m_fontMarkupBold, &m_fontSup};
}

plat::Size CSkinDlg_Base::MeasureMarkupText(const QString& text, const plat::Font* normal,
                                            const plat::Font* bold) const {
    return skin::MeasureMarkup(text, MarkupFontsFor(normal, bold));
}

plat::Size CSkinDlg_Base::DrawMarkupText(plat::DeviceContext& dc, const QString& text, int x, int y,
                                         plat::ColorRef color, const plat::Font* normal,
                                         const plat::Font* bold) const {
    return skin::DrawMarkup(dc, text, x, y, color, MarkupFontsFor(normal, bold));
}

plat::Size CSkinDlg_Base::DrawListMarkupText(plat::DeviceContext& dc, const QString& text, int left, int top,
                                             int right, int bottom, plat::ColorRef color,
                                             const plat::Font* normal, const plat::Font* bold) const {
    return skin::DrawListMarkup(dc, text, plat::Rect{left, top, right, bottom}, color,
                                MarkupFontsFor(normal, bold));
}

plat::Size CSkinDlg_Base::DrawGlowText(plat::DeviceContext& dc, const QString& text, int x, int y,
                                       plat::ColorRef textColor, plat::ColorRef glowColor,
                                       const plat::Font* normal, const plat::Font* bold, int divisor) {
    return skin::DrawGlowMarkup(dc, text, x, y, textColor, glowColor, MarkupFontsFor(normal, bold), divisor,
                                m_glowCache);
}
