#include "app/skin_ad_display_dlg.h"

#include "platform/screens.h"
#include "skin/commands.h"
#include "skin/host_window.h"

#include <algorithm>

CSkinAdDisplay_Dlg::CSkinAdDisplay_Dlg(CSkinDlg_Base* parent, CSkinElement* anchor, int xOffset, int yOffset)
    : CSkinDlg(parent, plat::WindowKind::Popup) {
    SetPopupStyle();
    m_width = 300;
    m_height = 500;
    const plat::Point at = anchor ? anchor->GetDialogPos() : plat::Point{};
    m_position = parent ? skin::HostWindow(*parent).clientToScreen({at.x + xOffset, at.y + yOffset})
                        : plat::Point{at.x + xOffset, at.y + yOffset};
}

CSkinAdDisplay_Dlg::~CSkinAdDisplay_Dlg() = default;

void CSkinAdDisplay_Dlg::CreateElements() {
    m_title.clear();
    m_display.Create(&m_rootHolder, ++m_nextElementId, QString());
    // The ad was set before the display had a dialog to measure in.
    m_display.BuildRuns();
    int width = 0;
    int height = 0;
    m_display.GetContentSize(width, height);
    m_display.SetPosition(kMargin, kMargin, width, height);
    m_width = width + 2 * kMargin;
    m_height = height + 2 * kMargin;
    // Its right edge a little right of the click, never off the left of the screen; below the click, or
    // above it when the screen ends first (a row near the bottom edge).
    const plat::Rect area = plat::AvailableRectAt(m_position);
    int top = m_position.y + kClickGap;
    if (top + m_height > area.bottom)
        top = std::max(area.top, m_position.y - kClickGap - m_height);
    move(std::max(0, m_position.x + 30 - m_width), top);
}

void CSkinAdDisplay_Dlg::OnDialogKillFocus() {
    OnCommand(skin::cmd::kDefaultCancel, 0);
}
