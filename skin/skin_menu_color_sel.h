#pragma once

#include "platform/device_context.h"
#include "skin/element_handle.h"
#include "skin/skin_dlg.h"

#include <QString>

// The colour picker: a grabbing popup with a palette of the 216 colours whose components are multiples of
// 51 and a column of greys and pure colours. The colour under the pointer becomes the current one; a release
// inside picks it (result 1), a press or release outside, Esc or the loss of the focus cancel (result 2).
class CSkinMenuColorSel : public CSkinDlg {
  public:
    // With an anchor the picker opens at the anchor's left plus x (-1: its left) and top plus y (-1: its
    // bottom); without one it is centred on the screen. color: the colour to start from ("#RRGGBB" or
    // "RRGGBB").
    CSkinMenuColorSel(CSkinDlg_Base* parent, CSkinElement* anchor, const QString& color, int x = -1,
                      int y = -1);
    ~CSkinMenuColorSel() override;

    void CreateElements() override;
    void DrawBackground(plat::DeviceContext& dc) override;
    void onMouseMove(int x, int y) override;
    void onLButtonUp(int x, int y) override;

    static constexpr int kWidth = 211;
    static constexpr int kHeight = 145;

    // Six upper-case hexadecimal digits: the colour to start from, then the last one under the pointer. The
    // caller takes it after a result of 1.
    QString m_color;

  private:
    static bool Inside(int x, int y) { return x >= 0 && x < kWidth && y >= 0 && y < kHeight; }
    void DrawPalette();

    skin::ElementHandle m_anchor;
    plat::DeviceContext m_palette;
    int m_x;
    int m_y;
    bool m_closing = false;
};
