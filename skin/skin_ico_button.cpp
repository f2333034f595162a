#include "skin/skin_ico_button.h"

#include "skin/button_images.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

CSkinIcoButton::CSkinIcoButton() {
    m_className = u"CSkinIcoButton"_s;
    m_focusOnClick = false;
}

CSkinIcoButton::~CSkinIcoButton() = default;

void CSkinIcoButton::CreateEx(CSkinDlgHolder* holder, unsigned id, const QString& caption,
                              const QString& command, int param, const QString& tooltip,
                              const plat::DeviceContext* iconImage, int iconColumn, int layoutFlags) {
    CSkinElement::Create(holder, id, caption, command, param, tooltip);
    m_pIconDC = iconImage ? iconImage : m_pAtlasDC;
    if (m_pIconDC && !m_pIconDC->isNull()) {
        const plat::ColorRef corner = m_pIconDC->getPixel(m_pIconDC->width() - 1, m_pIconDC->height() - 1);
        if (!m_iconsSet) {
            // A sheet of square icons in three rows: normal, hot, pressed; disabled looks normal.
            const int s = m_pIconDC->height() / 3;
            const int x = s * iconColumn;
            m_icons = {{x, 0}, {x, s}, {x, 0}, {x, 2 * s}, {s, s}};
            m_transparentIcon = corner == m_pIconDC->getPixel(0, 0);
        }
        if (m_transparentIcon)
            m_keyColor = corner;
    }
    m_layout = layoutFlags;
    SetBackImages(skin::kPushButtonImages);
}

void CSkinIcoButton::SetBackImages(const skin::StateImages& back) {
    m_back = back;
    Redraw();
}

void CSkinIcoButton::SetIconImages(const skin::StateImages& icons) {
    m_icons = icons;
    m_iconsSet = true;
    Redraw();
}

void CSkinIcoButton::SetBackRects(int normalX, int normalY, int hotX, int hotY, int disabledX, int disabledY,
                                  int pressedX, int pressedY, int width, int height) {
    SetBackImages(
        {{normalX, normalY}, {hotX, hotY}, {disabledX, disabledY}, {pressedX, pressedY}, {width, height}});
}

void CSkinIcoButton::SetIconRects(int normalX, int normalY, int hotX, int hotY, int pressedX, int pressedY,
                                  int disabledX, int disabledY, int width, int height) {
    SetIconImages(
        {{normalX, normalY}, {hotX, hotY}, {disabledX, disabledY}, {pressedX, pressedY}, {width, height}});
}

void CSkinIcoButton::SetBackStyle(int style) {
    if (style == 0)
        SetBackImages(skin::kPushButtonImages);
    else if (style == 1)
        SetBackImages(skin::StateImages::Single(skin::AtlasRect("toolbar.wideBack").topLeft(),
                                                skin::AtlasRect("toolbar.wideBack").size()));
}

void CSkinIcoButton::UpdateTextExtent(plat::DeviceContext& dc) {
    m_textExtent = m_caption.isEmpty() ? plat::Size{} : dc.getTextExtent(m_caption);
    Redraw();
}

bool CSkinIcoButton::IsHot() const {
    return m_pDlg && (m_pDlg->m_pHover == this || m_pDlg->m_pFocus == this);
}

bool CSkinIcoButton::IsPressed() const {
    return IsHot() && m_pDlg->m_pPressed == this;
}

CSkinIcoButton::Placement CSkinIcoButton::Place(bool hotNotPressed) const {
    const plat::Size icon = m_icons.size;
    Placement p;
    if (m_layout & kIconLeft) {
        const int m = (m_height - icon.cy) / 2;
        p.icon = {m, m};
        p.text = {icon.cx + 2 * m, 2, m_width - 2, m_height - 2};
    } else if (m_layout & kIconRight) {
        const int m = (m_height - icon.cy) / 2;
        p.icon = {m_width - icon.cx - m, m};
        p.text = {2, 2, m_width - icon.cx - 2 * m, m_height - 2};
    } else if (m_layout & kIconOnly) {
        p.icon = {(m_width - icon.cx) / 2, (m_height - icon.cy) / 2};
    } else {
        const int q = (m_height - 52) / 3;
        p.icon = {(m_width - icon.cx) / 2, q + 3};
        p.text = {2, p.icon.y + icon.cy + q + 1, m_width - 2, m_height - 2};
        if (hotNotPressed) {
            const int lift = m_transparentIcon ? 2 : 1;
            p.icon.x -= lift;
            p.icon.y -= lift;
            p.text = p.text.translated(-1, -1);
        }
    }
    return p;
}

void CSkinIcoButton::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    const bool hot = IsHot();
    const bool pressed = IsPressed();
    if (!(m_layout & kNoBack) && m_pAtlasDC && m_back.size.cx > 0 && m_back.size.cy > 0) {
        const plat::Point back = m_back.Of(skin::PickIcoBackImage(m_enabled, hot, pressed, m_selected));
        const plat::Rect src = plat::Rect::fromXywh(back.x, back.y, m_back.size.cx, m_back.size.cy);
        for (const skin::NinePiece& piece :
             skin::NineSlice(src, plat::Rect::fromXywh(x, y, m_width, m_height)))
            skin::StretchPiece(dc, piece.dst, *m_pAtlasDC, piece.src);
    }
    if ((m_layout & kFrameWhileHot) && hot)
        DrawFrame(x, y, m_width, m_height, dc);
    const Placement place = Place(hot && !pressed);
    const plat::Size icon = m_icons.size;
    if (m_pIconDC && icon.cx > 0 && icon.cy > 0) {
        const plat::Point src = m_icons.Of(skin::PickButtonImage(m_enabled, hot, pressed));
        if (m_transparentIcon) {
            dc.transparentBlt(x + place.icon.x, y + place.icon.y, icon.cx, icon.cy, *m_pIconDC, src.x, src.y,
                              icon.cx, icon.cy, m_keyColor);
        } else {
            dc.bitBlt(x + place.icon.x, y + place.icon.y, icon.cx, icon.cy, *m_pIconDC, src.x, src.y);
        }
    }
    if ((m_layout & kIconOnly) || m_caption.isEmpty())
        return;
    plat::Rect text = place.text.translated(x, y);
    const plat::ColorRef previous =
        dc.setTextColor(m_enabled ? plat::Rgb(0, 0, 0) : skin::kDisabledTextColor);
    dc.drawText(m_caption, text,
                plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine | plat::kTextEndEllipsis |
                    plat::kTextNoPrefix);
    dc.setTextColor(previous);
}
