#include "skin/skin_menu_color_sel.h"

#include "platform/screens.h"
#include "skin/color_text.h"
#include "skin/host_window.h"
#include "skin/skin_constants.h"
#include "skin/text_state.h"

#include <iterator>

namespace {

constexpr plat::ColorRef kBarColor = plat::Rgb(222, 222, 222);
constexpr int kSwatchSize = 9;
constexpr int kSwatchStep = 10;
constexpr int kPaletteLeft = 31;
constexpr int kPaletteTop = 25;
constexpr int kFixedLeft = 11;
constexpr int kStep = 51;
constexpr plat::ColorRef kFixedColumn[] = {
    plat::Rgb(0, 0, 0),       plat::Rgb(51, 51, 51),    plat::Rgb(102, 102, 102), plat::Rgb(153, 153, 153),
    plat::Rgb(204, 204, 204), plat::Rgb(255, 255, 255), plat::Rgb(255, 0, 0),     plat::Rgb(0, 255, 0),
    plat::Rgb(0, 0, 255),     plat::Rgb(255, 255, 0),   plat::Rgb(0, 255, 255),   plat::Rgb(255, 0, 255),
};
constexpr plat::Rect kPreview = plat::Rect::fromXywh(4, 4, 40, 17);
constexpr int kTextX = 93;
constexpr int kTextY = 6;

} // namespace

CSkinMenuColorSel::CSkinMenuColorSel(CSkinDlg_Base* parent, CSkinElement* anchor, const QString& color, int x,
                                     int y)
    : CSkinDlg(parent, plat::WindowKind::Popup), m_color(skin::ColorText(skin::ParseColorText(color))),
      m_anchor(anchor), m_x(x), m_y(y) {
    SetPopupStyle();
}

CSkinMenuColorSel::~CSkinMenuColorSel() = default;

void CSkinMenuColorSel::DrawPalette() {
    m_palette.create(kWidth, kHeight);
    m_palette.fillSolidRect(plat::Rect::fromXywh(0, 0, kWidth, kHeight), 0x000000);
    m_palette.fillSolidRect(plat::Rect{1, 1, 209, 24}, kBarColor);
    m_palette.fillSolidRect(plat::Rect{3, 3, 45, 22}, 0x000000);
    for (int c = 0; c < 18; ++c) {
        for (int r = 0; r < 12; ++r) {
            const plat::ColorRef swatch =
                plat::Rgb((c / 6 + 3 * (r / 6)) * kStep, (c % 6) * kStep, (r % 6) * kStep);
            m_palette.fillSolidRect(plat::Rect::fromXywh(kPaletteLeft + kSwatchStep * c,
                                                         kPaletteTop + kSwatchStep * r, kSwatchSize,
                                                         kSwatchSize),
                                    swatch);
        }
    }
    for (int r = 0; r < int(std::size(kFixedColumn)); ++r) {
        m_palette.fillSolidRect(
            plat::Rect::fromXywh(kFixedLeft, kPaletteTop + kSwatchStep * r, kSwatchSize, kSwatchSize),
            kFixedColumn[r]);
    }
}

void CSkinMenuColorSel::CreateElements() {
    m_width = kWidth;
    m_height = kHeight;
    DrawPalette();
    plat::Rect placed;
    const CSkinElement* anchor = m_anchor;
    if (anchor && anchor->GetDialog()) {
        const plat::Point at = skin::HostWindow(*anchor->GetDialog()).clientToScreen(anchor->GetDialogPos());
        const int x = m_x == -1 ? at.x : at.x + m_x;
        const int y = m_y == -1 ? at.y + anchor->m_height : at.y + m_y;
        placed = plat::Rect::fromXywh(x, y, kWidth, kHeight);
    } else {
        const plat::Rect area = plat::AvailableRectAt(plat::CursorPos());
        placed = plat::Rect::fromXywh(area.left + (area.width() - kWidth) / 2,
                                      area.top + (area.height() - kHeight) / 2, kWidth, kHeight);
    }
    // An anchor near a screen edge must not leave part of the palette off the screen.
    const plat::Rect area = plat::AvailableRectAt(placed.topLeft());
    const int x = qMax(area.left, qMin(placed.left, area.right - kWidth));
    const int y = qMax(area.top, qMin(placed.top, area.bottom - kHeight));
    setGeometry(plat::Rect::fromXywh(x, y, kWidth, kHeight));
}

void CSkinMenuColorSel::DrawBackground(plat::DeviceContext& dc) {
    dc.bitBlt(0, 0, kWidth, kHeight, m_palette, 0, 0);
    dc.fillSolidRect(kPreview, skin::ParseColorText(m_color));
    const skin::TextState text(dc, m_font, 0x000000);
    dc.textOut(kTextX, kTextY, u'#' + m_color.toLower());
}

void CSkinMenuColorSel::onMouseMove(int x, int y) {
    if (Inside(x, y)) {
        const QString color = skin::ColorText(m_palette.getPixel(x, y));
        if (color != m_color) {
            m_color = color;
            Invalidate();
        }
    }
    CSkinDlg::onMouseMove(x, y);
}

void CSkinMenuColorSel::onLButtonUp(int x, int y) {
    if (!m_closing) {
        m_closing = true;
        EndSkinDialog(Inside(x, y) ? skin::kResultOk : skin::kResultCancel);
    }
    CSkinDlg::onLButtonUp(x, y);
}
