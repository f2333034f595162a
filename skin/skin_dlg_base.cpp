#include "skin/skin_dlg_base.h"

#include "core/clock.h"
#include "platform/keys.h"
#include "platform/screens.h"
#include "platform/shell.h"
#include "skin/commands.h"
#include "skin/dialog_frame.h"
#include "skin/glow_text.h"
#include "skin/markup_text.h"
#include "skin/message_box_dlg.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"
#include "skin/skin_drop_list.h"
#include "skin/skin_list_box.h"
#include "skin/skin_win_edit.h"

#include <QDir>
#include <algorithm>

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

const QString kArial = u"Arial"_s;
// The dialog's fonts fall back to a sans-serif face where Arial's stand-in is missing.
constexpr plat::FontStyleHint kSans = plat::FontStyleHint::SansSerif;

} // namespace

CSkinDlg_Base::CSkinDlg_Base(CSkinDlg_Base* parent, plat::WindowKind kind)
    : plat::Window(parent, kind), m_font(kArial, 15, plat::kFontWeightNormal, kSans),
      m_fontBold14(kArial, 14, plat::kFontWeightBold, kSans),
      m_fontBold15(kArial, 15, plat::kFontWeightBold, kSans),
      m_fontMarkupBold(kArial, 15, plat::kFontWeightBold, kSans),
      m_fontBold19(kArial, 19, plat::kFontWeightBold, kSans),
      m_fontSup(kArial, 12, plat::kFontWeightNormal, kSans), m_nextElementId(skin::kFirstElementId),
      m_life(std::make_shared<skin::DialogLife>(skin::DialogLife{this})) {
    m_rootHolder.m_pDlg = this;
    if (parent) {
        m_pAtlasDC = parent->m_pAtlasDC;
        // A dialog stands over its parent: a hidden parent is shown in the state it is in (a minimised one
        // stays minimised) and without taking the focus. One hidden behind its tray icon stays there, or
        // every menu of the icon would put the window back on the task bar.
        if (parent->m_ready && !parent->m_tornDown && !parent->isVisible() && !parent->hasTrayIcon())
            parent->showNoActivate();
        parent->m_tooltipDue = -1;
        parent->m_tooltipText.clear();
        // A dialog opened from a drop list's choice must not stand under the list's open popup.
        if (CSkinElement* focus = parent->m_pFocus; focus && focus->m_className == "CSkinDropList"_L1)
            static_cast<CSkinDropList*>(focus)->ClosePopup();
    }
    if (!m_pAtlasDC)
        m_pAtlasDC = skin::Atlas();
    m_measureDC.create(1, 1);
    m_measureDC.selectFont(&m_font);
}

CSkinDlg_Base::~CSkinDlg_Base() {
    m_tornDown = true;
    m_life->dialog = nullptr;
    ClearHoverSlot(nullptr);
    // Elements that outlive the dialog must not reach back into it.
    for (CSkinElement* e : m_elements)
        e->m_inElementList = false;
    m_elements.clear();
    m_pHover = m_pPressed = m_pFocus = nullptr;
    std::vector<CSkinElement*> pending{&m_rootHolder};
    while (!pending.empty()) {
        CSkinElement* e = pending.back();
        pending.pop_back();
        e->m_pDlg = nullptr;
        if (e->IsHolder())
            for (const auto& child : static_cast<CSkinDlgHolder*>(e)->Children())
                pending.push_back(child.element);
    }
}

plat::DeviceContext& CSkinDlg_Base::MeasureDC() {
    return m_measureDC;
}

QString CSkinDlg_Base::UserManualPath() {
    return QDir(plat::ProgramFolder()).filePath(u"User Manual.pdf"_s);
}

void CSkinDlg_Base::OpenManualFile(const QString& path) {
    plat::OpenFileWatched(
        path, *this,
        [this, path] {
            // A dialog whose run ended while the opener ran is no longer there to say it.
            if (!IsTornDown())
                MessageBox(u"The manual could not be opened.\n"_s + path, QString(),
                           skin::kMessageOk | skin::kMessageExclamation);
        });
}

// ---------------------------------------------------------------------------------------------------------------
// Life cycle

void CSkinDlg_Base::onInitDialog() {
    m_tornDown = false;
    m_opening = true;
    setShowInTaskbar(m_framed && !parent());
    setFocus();
    m_rootHolder.Create(&m_rootHolder, ++m_nextElementId);
    m_rootHolder.SetPosition(0, 0, m_width, m_height, 0);
    SuspendPaint();
    CreateElements();
    if (m_framed)
        m_frame.CreateCaptionButtons();
    m_ready = true;
    // The window manager keeps to the border drag's limits.
    setSizeLimits(m_framed && m_maximizable,
                  {qMax(skin::kResizeFloor, m_minWidth), qMax(skin::kResizeFloor, m_minHeight)});
    const plat::Rect r = windowRect();
    setGeometry(plat::Rect::fromXywh(r.left, r.top, qMax(m_width, m_minWidth), qMax(m_height, m_minHeight)));
    if (!m_keepPosition)
        centerOnParent();
    if (m_startMaximized)
        OnCommand(cmd::kDefaultMaximize, 0);
    SetTitle(m_title);
    const plat::Size client = clientSize();
    if (client.cx > 0 && client.cy > 0) {
        m_width = qMax(client.cx, m_minWidth);
        m_height = qMax(client.cy, m_minHeight);
    }
    OnSizeChanged(isMaximized() ? plat::SizeType::Maximized : plat::SizeType::Restored);
    m_opening = false;
    // One paint at the size and state the window shows with.
    RedrawNow();
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
    m_tornDown = true;
    m_shadow.OnParentDestroy();
    removeTrayIcon();
    ClearHoverSlot(nullptr);
}

bool CSkinDlg_Base::OnCommand(const QString& command, int /*param*/) {
    if (command == cmd::kDefaultMinimize) {
        if (m_minimizable)
            minimize();
    } else if (command == cmd::kDefaultMaximize) {
        if (m_maximizable)
            maximize();
    } else if (command == cmd::kDefaultRestore) {
        if (m_maximizable)
            restore();
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

std::vector<CSkinDlg_Base*> CSkinDlg_Base::s_modalRuns;

int CSkinDlg_Base::DoModal() {
    s_modalRuns.push_back(this);
    const int result = doModal();
    s_modalRuns.pop_back();
    return result;
}

void CSkinDlg_Base::SetDialogShownHook(std::function<void(CSkinDlg_Base&)> hook) {
    if (!hook) {
        setModalShownHook(nullptr);
        return;
    }
    setModalShownHook([hook = std::move(hook)](plat::Window& window) {
        const auto run = std::find_if(s_modalRuns.rbegin(), s_modalRuns.rend(), [&](CSkinDlg_Base* dlg) {
            return static_cast<plat::Window*>(dlg) == &window;
        });
        if (run != s_modalRuns.rend())
            hook(**run);
    });
}

int CSkinDlg_Base::MessageBox(const QString& text, const QString& caption, unsigned type) {
    CMessageBoxDlg box(this, text, caption.isEmpty() ? u"Tarnwick 2.0"_s : caption, type);
    return box.DoModal();
}

void CSkinDlg_Base::EndSkinDialog(int result) {
    m_result = result;
    if (m_captureMode)
        releaseCapture();
}

void CSkinDlg_Base::SetTitle(const QString& text) {
    m_title = text;
    // The frame draws the title's markup; the window manager shows plain text.
    setWindowText(skin::MarkupPlainText(text, skin::MarkupTags::Title));
    Invalidate();
}

void CSkinDlg_Base::RedrawNow() {
    // Sizes and layouts pass by while the window opens; only the one it shows with is painted.
    if (m_opening)
        return;
    m_paintSuspended = false;
    redrawNow();
}

void CSkinDlg_Base::Invalidate() {
    if (m_ready)
        invalidate();
}

// ---------------------------------------------------------------------------------------------------------------
// Painting and size

void CSkinDlg_Base::onPaint(plat::DeviceContext& dc) {
    if (m_paintSuspended)
        return;
    RenderAll(dc);
    std::erase(m_overlays, nullptr);
    // A copy: an element may list another as it hears, and placing a child may move the keyboard focus,
    // whose handlers may remove elements.
    const std::vector<skin::ElementHandle> overlays = m_overlays;
    for (const skin::ElementHandle& overlay : overlays)
        if (CSkinElement* e = overlay)
            e->OnDialogPainted();
    m_shadow.OnParentPaint();
}

void CSkinDlg_Base::ListOverlay(CSkinElement* element) {
    skin::ElementHandle handle(element);
    if (std::find(m_overlays.begin(), m_overlays.end(), handle) == m_overlays.end())
        m_overlays.push_back(std::move(handle));
}

void CSkinDlg_Base::RenderAll(plat::DeviceContext& dc) {
    DrawBackground(dc);
    const plat::Font* previous = dc.selectFont(&m_font);
    m_rootHolder.Draw(dc, 0, 0, true);
    dc.selectFont(previous);
}

void CSkinDlg_Base::onMove(int /*x*/, int /*y*/) {
    m_shadow.OnParentMove();
}

void CSkinDlg_Base::onSize(plat::SizeType type, int width, int height) {
    m_shadow.OnParentSize(type, width, height);
    if (!m_ready)
        return;
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
    if (!m_framed)
        return;
    m_frame.Layout(sizeType);
}

// ---------------------------------------------------------------------------------------------------------------
// Keyboard

bool CSkinDlg_Base::onKeyDown(int key, unsigned modifiers, bool /*autoRepeat*/) {
    TooltipInput(true, m_pointer.lastMouse.x, m_pointer.lastMouse.y);
    CSkinElement* focus = m_pFocus;
    if (key == plat::kKeyTab) {
        const bool backwards = (modifiers & plat::kModShift) != 0;
        if (focus && focus->m_pHolder)
            return focus->m_pHolder->FocusNext(focus, backwards);
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
        if (!e || focus != m_pFocus)
            return;
        e->OnMouse(0, 0, state);
    }
    const CSkinElement* e = focus;
    if (!e || focus != m_pFocus || e->m_noCommand || e->m_command.isEmpty())
        return;
    const QString command = e->m_command;
    const int param = e->m_param;
    OnCommand(command, param);
}

bool CSkinDlg_Base::onKeyUp(int key, unsigned modifiers, bool autoRepeat) {
    // A held key repeats its releases too; actions on release happen once, when the key really goes up.
    if (autoRepeat)
        return true;
    const bool enterOrSpace = key == plat::kKeyEnter || key == plat::kKeySpace;
    if (CSkinElement* focus = m_pFocus; focus && focus->m_takesKeys) {
        if (key == plat::kKeyEscape)
            focus->OnKillFocus();
        else if (enterOrSpace)
            ClickFocused();
    } else if (key == plat::kKeyEscape) {
        OnCommand(cmd::kDefaultCancel, 0);
    } else if (enterOrSpace) {
        OnCommand(cmd::kDefaultOk, 0);
    } else if (CSkinElement* focus = m_pFocus; key == 'A' && (modifiers & plat::kModControl) && focus &&
                                               focus->m_className == "CSkinListBox"_L1) {
        // Selects what the user sees: hidden rows are cleared, so a bulk action never reaches them.
        static_cast<CSkinListBox*>(focus)->SelectAllVisible();
        return true;
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
            if (CSkinElement* pressed = m_pPressed; pressed && pressed->m_wantsTicks)
                pressed->OnTick();
            if (m_tooltipDue >= 0 && MonotonicMs() > m_tooltipDue && !m_tooltipText.isEmpty()) {
                m_tooltipDue = -1;
                ShowTooltip(true);
            }
        }
        CSkinElement* pressed = m_pPressed;
        if (m_pointer.ElementState() == skin::kMouseHeld && pressed && pressed->m_wantsTicks)
            pressed->OnMouse(m_pointer.pressPos.x, m_pointer.pressPos.y, skin::kMouseHeld);
    } else if (id == static_cast<unsigned>(skin::kResizeTimerId)) {
        m_frame.ResizeStep(plat::CursorPos());
    } else if (id == static_cast<unsigned>(skin::kMoveTimerId)) {
        m_frame.MoveStep(plat::CursorPos());
    }
    OnTimer(id);
}

// ---------------------------------------------------------------------------------------------------------------
// Activation, closing, help, tray

void CSkinDlg_Base::onActivate(bool active) {
    m_active = active;
    RedrawNow();
}

void CSkinDlg_Base::onKillFocus() {
    // A grid keeps the focus while the window is away (a preview it opened, a menu, another program): nothing
    // of it ends with the keyboard, and Ctrl+A and its keys must reach it again when the window is back.
    if (CSkinElement* focus = m_pFocus; focus && focus->m_className != "CSkinListBox"_L1)
        focus->OnKillFocus();
    OnDialogKillFocus();
}

void CSkinDlg_Base::onClose() {
    if (CSkinElement* focus = m_pFocus)
        focus->OnKillFocus();
    OnCommand(cmd::kDefaultClose, 0);
}

void CSkinDlg_Base::onHelp() {
    OpenManualFile(UserManualPath());
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
