#pragma once

#include "skin/skin_dlg_base.h"
#include "skin/skin_tooltip_windows.h"

#include <memory>

// Base of every dialog of the system: paints the window frame and the shaded client area from the skin
// atlas and shows tooltips.
class CSkinDlg : public CSkinDlg_Base {
  public:
    explicit CSkinDlg(CSkinDlg_Base* parent = nullptr, plat::WindowKind kind = plat::WindowKind::Dialog);
    ~CSkinDlg() override;

    void DrawBackground(plat::DeviceContext& dc) override;
    void ShowTooltip(bool show) override;
    void OnTimer(unsigned id) override;
    // A popup dismissed by a press outside it, Esc or the loss of the focus is cancelled, unless its result
    // is decided already.
    void onCancelPopup() override;

    CSkinTooltip_windows* Tooltip() const { return m_tooltipWnd.get(); }

    static constexpr plat::ColorRef kBorderColor = plat::Rgb(0, 100, 168);
    static constexpr plat::ColorRef kShadeOuter = plat::Rgb(241, 249, 255);
    static constexpr plat::ColorRef kShadeInner = plat::Rgb(254, 255, 255);
    static constexpr plat::ColorRef kInnerFill = 0xFFFFFE;
    static constexpr plat::ColorRef kUntitledFrame = plat::Rgb(187, 240, 250);

  protected:
    void TooltipInput(bool closeNow, int x, int y) override;
    // Menus and pickers: unframed, holding the capture, placed where they open, any size.
    void SetPopupStyle();

  private:
    void ShadeClient(plat::DeviceContext& dc);
    // Shades from the outer rectangle's edge in to the inner rectangle, which is filled plain.
    static void ShadeBands(plat::DeviceContext& dc, const plat::Rect& outer, const plat::Rect& inner);

    std::unique_ptr<CSkinTooltip_windows> m_tooltipWnd;
};
