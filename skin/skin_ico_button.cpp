#include "skin/skin_ico_button.h"

#include "skin/button_images.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

namespace {

void SetDefaultBack(CSkinIcoButton& b) {
    b.SetBackRects(320, 127, 418, 127, 320, 127, 369, 127, 48, 29);
}

} // namespace

CSkinIcoButton::CSkinIcoButton() {
    m_className = u"CSkinIcoButton"_s;
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
            const int s = m_pIconDC->height() / 3;
            m_iconWidth = s;
            m_iconHeight = s;
            const int x = s * iconColumn;
            m_iconImages[kIconNormal] = {x, 0};
            m_iconImages[kIconHot] = {x, s};
            m_iconImages[kIconPressed] = {x, 2 * s};
            m_iconImages[kIconDisabled] = {x, 0};
            m_transparentIcon = corner == m_pIconDC->getPixel(0, 0);
        }
        if (m_transparentIcon) {
            m_keyColor = corner;
        }
    }
    m_layout = layoutFlags;
    SetDefaultBack(*this);
}

void CSkinIcoButton::SetBackRects(int normalX, int normalY, int hotX, int hotY, int disabledX, int disabledY,
                                  int pressedX, int pressedY, int width, int height) {
    m_backImages[skin::kImageNormal] = {normalX, normalY};
    m_backImages[skin::kImageHot] = {hotX, hotY};
    m_backImages[skin::kImageDisabled] = {disabledX, disabledY};
    m_backImages[skin::kImagePressed] = {pressedX, pressedY};
    m_backWidth = width;
    m_backHeight = height;
    Redraw();
}

void CSkinIcoButton::SetIconRects(int normalX, int normalY, int hotX, int hotY, int pressedX, int pressedY,
                                  int disabledX, int disabledY, int width, int height) {
    m_iconImages[kIconNormal] = {normalX, normalY};
    m_iconImages[kIconHot] = {hotX, hotY};
    m_iconImages[kIconPressed] = {pressedX, pressedY};
    m_iconImages[kIconDisabled] = {disabledX, disabledY};
    m_iconWidth = width;
    m_iconHeight = height;
    m_iconsSet = true;
    Redraw();
}

void CSkinIcoButton::UpdateTextExtent(plat::DeviceContext& dc) {
    m_textExtent = m_caption.isEmpty() ? plat::Size{} : dc.getTextExtent(m_caption);
    Redraw();
}

bool CSkinIcoButton::OnMouse(int x, int y, int state) {
    if (state == skin::kMouseReleased) {
        // The button lets go of the focus on release, so it does not stay lit after a click.
        OnKillFocus();
        Redraw();
    }
    return CSkinElement::OnMouse(x, y, state);
}

bool CSkinIcoButton::IsHot() const {
    return m_pDlg && (m_pDlg->m_pHover == this || m_pDlg->m_pFocus == this);
}

bool CSkinIcoButton::IsPressed() const {
    return IsHot() && m_pDlg->m_pPressed == this;
}

CSkinIcoButton::Placement CSkinIcoButton::Place(bool hotNotPressed) const {
    Placement p;
    if (m_layout & kIconLeft) {
        const int m = (m_height - m_iconHeight) / 2;
        p.icon = {m, m};
        p.text = {m_iconWidth + 2 * m, 2, m_width - 2, m_height - 2};
    } else if (m_layout & kIconRight) {
        const int m = (m_height - m_iconHeight) / 2;
        p.icon = {m_width - m_iconWidth - m, m};
        p.text = {2, 2, m_width - m_iconWidth - 2 * m, m_height - 2};
    } else if (m_layout & kIconOnly) {
        p.icon = {(m_width - m_iconWidth) / 2, (m_height - m_iconHeight) / 2};
    } else {
        const int q = (m_height - 52) / 3;
        p.icon = {(m_width - m_iconWidth) / 2, q + 3};
        p.text = {2, p.icon.y + m_iconHeight + q + 1, m_width - 2, m_height - 2};
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
    if (!(m_layout & kNoBack) && m_pAtlasDC && m_backWidth > 0 && m_backHeight > 0) {
        const plat::Point back = m_backImages[skin::PickIcoBackImage(m_enabled, hot, pressed, m_selected)];
        const plat::Rect src = plat::Rect::fromXywh(back.x, back.y, m_backWidth, m_backHeight);
        for (const skin::NinePiece& piece :
             skin::NineSlice(src, plat::Rect::fromXywh(x, y, m_width, m_height))) {
            dc.stretchBlt(piece.dst.left, piece.dst.top, piece.dst.width(), piece.dst.height(), *m_pAtlasDC,
                          piece.src.left, piece.src.top, piece.src.width(), piece.src.height());
        }
    }
    if ((m_layout & kFrameWhileHot) && hot) {
        DrawFrame(x, y, m_width, m_height, dc);
    }
    const Placement place = Place(hot && !pressed);
    if (m_pIconDC && m_iconWidth > 0 && m_iconHeight > 0) {
        IconImage state = kIconNormal;
        if (!m_enabled) {
            state = kIconDisabled;
        } else if (hot) {
            state = pressed ? kIconPressed : kIconHot;
        }
        const plat::Point src = m_iconImages[state];
        if (m_transparentIcon) {
            dc.transparentBlt(x + place.icon.x, y + place.icon.y, m_iconWidth, m_iconHeight, *m_pIconDC,
                              src.x, src.y, m_iconWidth, m_iconHeight, m_keyColor);
        } else {
            dc.bitBlt(x + place.icon.x, y + place.icon.y, m_iconWidth, m_iconHeight, *m_pIconDC, src.x,
                      src.y);
        }
    }
    if ((m_layout & kIconOnly) || m_caption.isEmpty()) {
        return;
    }
    plat::Rect text = place.text.translated(x, y);
    const plat::ColorRef previous =
        dc.setTextColor(m_enabled ? plat::rgb(0, 0, 0) : skin::kDisabledTextColor);
    dc.drawText(m_caption, text,
                plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine | plat::kTextEndEllipsis |
                    plat::kTextNoPrefix);
    dc.setTextColor(previous);
}
