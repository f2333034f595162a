#include "skin/skin_menu_popup.h"

#include "platform/screens.h"
#include "skin/dotted_frame.h"
#include "skin/host_window.h"
#include "skin/queued_command.h"
#include "skin/skin_constants.h"
#include "skin/text_state.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kMinWidth = 100;
// Room above the first item and below the last.
constexpr int kPadding = 6;
constexpr int kSeparatorHeight = 5;
constexpr int kTextLeft = 18;
constexpr int kTextMargin = 30;
// The first item's top when painting, and where the hit test starts.
constexpr int kPaintTop = 4;
constexpr int kHitTop = 3;
// A menu keeps this far from the edges of the screen's work area before it flips.
constexpr int kEdgeMargin = 10;
constexpr int kCornerSize = 5;

constexpr plat::ColorRef kEtchDark = plat::Rgb(195, 199, 211);
constexpr plat::ColorRef kEtchLight = plat::Rgb(247, 255, 251);
constexpr plat::ColorRef kHoverFill = plat::Rgb(232, 243, 252);
constexpr plat::ColorRef kHoverFrame = plat::Rgb(150, 196, 232);
constexpr plat::ColorRef kMenuFill = 0xFFFFFF;

const QString kMeasureSample = u"qQwTzyg"_s;

} // namespace

CSkinMenuPopup::CSkinMenuPopup(CSkinDlg_Base* parent, CSkinElement* owner, int x, int y, bool openUpward)
    : CSkinDlg(parent, plat::WindowKind::Popup), m_owner(owner), m_hasOwner(owner != nullptr), m_x(x), m_y(y),
      m_openUpward(openUpward) {
    SetPopupStyle();
}

CSkinMenuPopup::~CSkinMenuPopup() {
    if (m_chosen >= 0) {
        const CSkinMenuPopup_Item& item = m_items[size_t(m_chosen)];
        skin::PostCommand(m_receiver, item.command, item.param);
    }
}

void CSkinMenuPopup::AddItem(const QString& text, const QString& command, int param) {
    m_items.push_back({text, command.isNull() ? QString(u""_s) : command, param});
}

void CSkinMenuPopup::CreateElements() {
    m_itemHeight = MeasureDC().getTextExtent(kMeasureSample).cy + 4;
    int width = kMinWidth;
    int height = kPadding;
    for (const CSkinMenuPopup_Item& item : m_items) {
        if (IsSeparator(item)) {
            height += kSeparatorHeight;
        } else {
            height += m_itemHeight;
            width = qMax(width, MeasureDC().getTextExtent(item.text).cx + kTextMargin);
        }
    }
    m_menuWidth = width;

    const plat::Point cursor = plat::CursorPos();
    int x = m_x;
    int y = m_y;
    const CSkinElement* owner = m_owner;
    if (owner && owner->GetDialog()) {
        const plat::Point at = skin::HostWindow(*owner->GetDialog()).clientToScreen(owner->GetDialogPos());
        x = m_x == -1 ? cursor.x : at.x + m_x;
        y = m_y == -1 ? cursor.y : at.y + m_y;
    } else if (m_hasOwner) {
        // The owner went before the menu opened: the menu opens at the pointer.
        x = cursor.x;
        y = cursor.y;
    }
    // The screen the menu opens on, not only the primary one.
    const plat::Rect area = plat::AvailableRectAt({x, y});
    if (x + width > area.right - kEdgeMargin)
        x -= width;
    if (y + height > area.bottom - kEdgeMargin || m_openUpward) {
        y -= height;
        m_openUpward = true;
    }
    if (m_openUpward && y < area.top + kEdgeMargin) {
        y += height;
        m_openUpward = false;
    }

    m_width = width + 1;
    m_height = height + 1;
    setGeometry(plat::Rect::fromXywh(x, y, m_width, m_height));
    setRoundRectRegion(m_width, m_height, kCornerSize, kCornerSize);
}

void CSkinMenuPopup::DrawBackground(plat::DeviceContext& dc) {
    dc.fillSolidRect(plat::Rect::fromXywh(0, 0, m_width, m_height), kMenuFill);
    m_rootHolder.DrawFrame(0, 0, m_width, m_height, dc);
    const skin::TextState text(dc, m_font, 0x000000);
    int y = kPaintTop;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const CSkinMenuPopup_Item& item = m_items[i];
        if (IsSeparator(item)) {
            const int length = m_menuWidth - 20;
            if (length > 0) {
                dc.fillSolidRect(plat::Rect::fromXywh(10, y + 1, length, 1), kEtchDark);
                dc.fillSolidRect(plat::Rect::fromXywh(10, y + 2, length, 1), kEtchLight);
            }
            y += kSeparatorHeight;
            continue;
        }
        if (int(i) == m_hovered) {
            const plat::Rect focus{16, y, m_menuWidth - 3, y + m_itemHeight};
            dc.fillSolidRect(focus, kHoverFill);
            skin::DrawDottedFrame(dc, focus, kHoverFrame);
        }
        dc.textOut(kTextLeft, y + 2, item.text);
        y += m_itemHeight;
    }
}

int CSkinMenuPopup::ItemAt(int y) const {
    int top = kHitTop;
    for (int i = 0; i < int(m_items.size()); ++i) {
        if (IsSeparator(m_items[size_t(i)])) {
            top += kSeparatorHeight;
            continue;
        }
        if (y >= top && y < top + m_itemHeight)
            return i;
        top += m_itemHeight;
    }
    return -1;
}

void CSkinMenuPopup::SetHovered(int index) {
    if (index != m_hovered) {
        m_hovered = index;
        Invalidate();
    }
}

void CSkinMenuPopup::onMouseMove(int x, int y) {
    const bool inside = x >= 0 && x < m_width && y >= 0 && y < m_height;
    SetHovered(inside ? ItemAt(y) : -1);
    CSkinDlg::onMouseMove(x, y);
}

void CSkinMenuPopup::ReleaseAt(int x, int y) {
    onMouseMove(x, y);
    if (m_hovered < 0 || m_closing)
        return;
    m_closing = true;
    m_chosen = m_hovered;
    m_receiver = skin::DialogHandle(static_cast<CSkinDlg_Base*>(parent()));
    EndSkinDialog(skin::kResultOk);
}

void CSkinMenuPopup::onLButtonUp(int x, int y) {
    ReleaseAt(x, y);
    CSkinDlg::onLButtonUp(x, y);
}

void CSkinMenuPopup::onRButtonUp(int x, int y) {
    // A release elsewhere is the end of the click that opened the menu; only a press outside cancels.
    ReleaseAt(x, y);
}
