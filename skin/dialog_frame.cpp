#include "skin/dialog_frame.h"

#include "platform/screens.h"
#include "skin/button_images.h"
#include "skin/commands.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_menu_popup.h"

using namespace Qt::StringLiterals;

namespace skin {

namespace {

const QString kProductName = u"Tarnwick 2.0"_s;

// Caption buttons: their atlas images and their place from the right edge.
struct CaptionButtonLook {
    StateImages images;
    int fromRight;
    QLatin1StringView command;
    unsigned id;
};
// The hot picture serves also when disabled, the normal one also when pressed.
consteval StateImages CaptionImages(std::string_view normal, std::string_view hot) {
    return AtlasStates(normal, hot, hot, normal);
}
constexpr CaptionButtonLook kCaptionMinimize{CaptionImages("caption.minimize.normal", "caption.minimize.hot"),
                                             -70, cmd::kDefaultMinimize, kMinimizeButtonId};
constexpr CaptionButtonLook kCaptionMaximize{CaptionImages("caption.maximize.normal", "caption.maximize.hot"),
                                             -48, cmd::kDefaultMaximize, kMaximizeButtonId};
constexpr CaptionButtonLook kCaptionRestore{CaptionImages("caption.restore.normal", "caption.restore.hot"),
                                            -48, cmd::kDefaultRestore, kRestoreButtonId};
constexpr CaptionButtonLook kCaptionClose{CaptionImages("caption.close.normal", "caption.close.hot"), -26,
                                          cmd::kDefaultClose, kCloseButtonId};
constexpr int kCaptionButtonSize = 21;
constexpr int kCaptionButtonTop = 4;
// A double click here, on the window icon, closes a top-level dialog.
constexpr int kIconCornerWidth = 35;

} // namespace

DialogFrame::DialogFrame(CSkinDlg_Base& dlg) : m_dlg(dlg) {}

void DialogFrame::CreateCaptionButtons() {
    CSkinDlgHolder& root = m_dlg.m_rootHolder;
    auto make = [&root](CSkinButton& button, const CaptionButtonLook& look, bool visible) {
        button.Create(&root, look.id, QString(), look.command, 0, QString());
        button.m_takesKeys = false;
        button.SetImages(look.images, 0);
        button.m_visible = visible;
        root.SetResizeRule(&button, look.fromRight, kCaptionButtonTop, kCaptionButtonSize,
                           kCaptionButtonSize);
    };
    make(m_btnMinimize, kCaptionMinimize, m_dlg.m_minimizable);
    make(m_btnMaximize, kCaptionMaximize, m_dlg.m_minimizable && m_dlg.m_maximizable);
    make(m_btnRestore, kCaptionRestore, false);
    make(m_btnClose, kCaptionClose, true);
}

const CSkinButton& DialogFrame::Button(CaptionButton which) const {
    switch (which) {
    case CaptionButton::Minimize:
        return m_btnMinimize;
    case CaptionButton::Maximize:
        return m_btnMaximize;
    case CaptionButton::Restore:
        return m_btnRestore;
    case CaptionButton::Close:
        break;
    }
    return m_btnClose;
}

void DialogFrame::Layout(plat::SizeType sizeType) {
    m_dlg.setRoundRectRegion(m_dlg.m_width, m_dlg.m_height, 4, 4);
    if (sizeType == plat::SizeType::Maximized) {
        m_btnRestore.m_visible = true;
        m_btnMaximize.m_visible = false;
    } else if (sizeType == plat::SizeType::Restored) {
        m_btnRestore.m_visible = false;
        m_btnMaximize.m_visible = m_dlg.m_minimizable && m_dlg.m_maximizable;
    }
    if (!m_dlg.m_maximizable && !m_dlg.m_minimizable) {
        m_btnMinimize.m_visible = false;
        m_btnMaximize.m_visible = false;
    }
}

void DialogFrame::OnSize(plat::SizeType type) {
    plat::Window* parent = m_dlg.parent();
    if (type == plat::SizeType::Minimized) {
        if (parent)
            parent->minimize();
        // Without a system tray the window stays an ordinary minimised window, so it can always be reached.
        if (m_dlg.m_minimizeToTray && m_dlg.addTrayIcon(kProductName))
            m_dlg.hide();
    } else if (type == plat::SizeType::Restored && m_shownAs == plat::SizeType::Minimized) {
        if (m_dlg.m_minimizeToTray && m_dlg.hasTrayIcon()) {
            m_dlg.removeTrayIcon();
            m_dlg.show();
            m_dlg.bringToFront();
        }
        if (parent)
            parent->restore();
    }
    m_shownAs = type;
}

void DialogFrame::OnTrayClick(plat::TrayClick click) {
    if (click == plat::TrayClick::Right) {
        // Beside the pointer rather than under it, so the click that opened the menu chooses nothing.
        const plat::Point cursor = plat::CursorPos();
        CSkinMenuPopup menu(&m_dlg, nullptr, cursor.x + 3, cursor.y - 3);
        menu.AddItem(u"Restore "_s + kProductName, cmd::kDefaultRestore);
        menu.AddItem(CSkinMenuPopup::kSeparator);
        menu.AddItem(u"Exit"_s, cmd::kDefaultClose);
        menu.DoModal();
        return;
    }
    m_dlg.removeTrayIcon();
    m_dlg.show();
    // A hidden minimised window still knows whether it was maximised.
    if (m_dlg.isMaximized())
        m_dlg.maximize();
    else
        m_dlg.restore();
    m_dlg.bringToFront();
}

void DialogFrame::Track(int x, int y, bool resizing) {
    const bool maximized = m_dlg.isMaximized();
    const bool resizable = m_dlg.m_framed && m_dlg.m_maximizable && !maximized && !resizing;
    if (resizable) {
        m_edges.left = x < kResizeBorder;
        m_edges.top = y < kResizeBorder;
        m_edges.right = x >= m_dlg.m_width - kResizeBorder;
        m_edges.bottom = y >= m_dlg.m_height - kResizeBorder;
    } else if (!resizing) {
        m_edges = ResizeEdges{};
    }
    // Any movable framed dialog can be dragged by its caption band, resizable or not.
    m_captionHit = m_dlg.m_framed && !maximized && y < kCaptionBand && !m_edges.top;
    if (!resizable)
        return;
    plat::CursorShape shape = plat::CursorShape::Arrow;
    if ((m_edges.left && m_edges.top) || (m_edges.right && m_edges.bottom))
        shape = plat::CursorShape::SizeNWSE;
    else if ((m_edges.left && m_edges.bottom) || (m_edges.right && m_edges.top))
        shape = plat::CursorShape::SizeNESW;
    else if (m_edges.left || m_edges.right)
        shape = plat::CursorShape::SizeWE;
    else if (m_edges.top || m_edges.bottom)
        shape = plat::CursorShape::SizeNS;
    m_dlg.setCursorShape(shape);
}

PointerMode DialogFrame::BeginDrag(int x, int y) {
    if (!m_dlg.m_framed || m_dlg.isMaximized())
        return PointerMode::Idle;
    Track(x, y, false);
    if (m_dlg.m_maximizable && m_edges.Any()) {
        m_anchor = plat::CursorPos();
        m_dlg.setTimer(kResizeTimerId, kDragStepMs);
        return PointerMode::Resizing;
    }
    if (m_dlg.m_movable && m_captionHit) {
        m_anchor = plat::CursorPos();
        m_dlg.setTimer(kMoveTimerId, kDragStepMs);
        return PointerMode::Moving;
    }
    return PointerMode::Idle;
}

void DialogFrame::EndDrag(PointerMode mode) {
    if (mode == PointerMode::Resizing)
        m_dlg.killTimer(kResizeTimerId);
    else if (mode == PointerMode::Moving)
        m_dlg.killTimer(kMoveTimerId);
}

void DialogFrame::ResizeStep(plat::Point cursor) {
    const plat::Rect window = m_dlg.windowRect();
    const int minWidth = m_dlg.m_minWidth;
    const int minHeight = m_dlg.m_minHeight;
    const plat::Rect next =
        ResizedRect(window, plat::VirtualDesktopRect(), cursor, m_edges, minWidth, minHeight, kResizeFloor);
    if (next != window && !(next.width() < minWidth && next.height() < minHeight))
        m_dlg.setGeometry(next);
    m_anchor = cursor;
}

void DialogFrame::MoveStep(plat::Point cursor) {
    const int dx = cursor.x - m_anchor.x;
    const int dy = cursor.y - m_anchor.y;
    if (dx != 0 || dy != 0) {
        const plat::Rect window = m_dlg.windowRect();
        m_dlg.move(window.left + dx, window.top + dy);
    }
    m_anchor = cursor;
}

void DialogFrame::OnDoubleClick(int x, int y) {
    if (!m_dlg.m_framed || y >= kCaptionBand)
        return;
    if (x < kIconCornerWidth && m_dlg.m_closable && !m_dlg.parent())
        m_dlg.OnCommand(cmd::kDefaultClose, 0);
    else if (m_dlg.m_maximizable)
        m_maximizeTogglePending = true;
}

void DialogFrame::OnRelease() {
    if (!m_maximizeTogglePending)
        return;
    m_maximizeTogglePending = false;
    if (m_dlg.isMaximized())
        m_dlg.restore();
    else
        m_dlg.maximize();
}

} // namespace skin
