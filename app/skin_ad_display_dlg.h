#pragma once

#include "app/skin_ad_display.h"
#include "platform/geometry.h"
#include "skin/skin_dlg.h"

// A small borderless popup that previews one ad next to where the user clicked in a report; it closes as
// soon as it loses the focus or the user presses outside it. The opener calls SetAd on m_display before
// running it.
class CSkinAdDisplay_Dlg : public CSkinDlg {
  public:
    // The popup opens near the anchor's place in the parent, moved by the offsets.
    CSkinAdDisplay_Dlg(CSkinDlg_Base* parent, CSkinElement* anchor, int xOffset, int yOffset);
    ~CSkinAdDisplay_Dlg() override;

    void CreateElements() override;
    void OnDialogKillFocus() override;

    static constexpr int kMargin = 17;
    // Between the click and the popup's top (or, above the click, its bottom).
    static constexpr int kClickGap = 10;

    CSkinAdDisplay m_display;
    // Screen position the popup opens at.
    plat::Point m_position;
};
