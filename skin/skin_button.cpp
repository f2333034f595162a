#include "skin/skin_button.h"

#include "core/clock.h"
#include "skin/button_images.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

CSkinButton::CSkinButton() {
    m_className = u"CSkinButton"_s;
    m_takesKeys = true;
    m_focusOnClick = false;
}

CSkinButton::~CSkinButton() = default;

void CSkinButton::Create(CSkinDlgHolder* holder, unsigned id, const QString& caption, const QString& command,
                         int param, const QString& tooltip) {
    CSkinDlg_Base* dlg = holder ? holder->m_pDlg : nullptr;
    m_pFont = dlg ? &dlg->m_font : nullptr;
    CSkinElement::Create(holder, id, caption, command, param, tooltip);
    m_textColor = skin::kButtonTextColor;
    SetStyle(0);
    SetPosition(-1, -1, m_textExtent.cx + m_marginLeft + m_marginRight + 2, m_drawnHeight, 0);
}

bool CSkinButton::IsHot() const {
    return m_pDlg && (m_pDlg->m_pHover == this || m_pDlg->m_pFocus == this);
}

bool CSkinButton::IsPressed() const {
    return IsHot() && m_pDlg->m_pPressed == this;
}

void CSkinButton::Remeasure() {
    if (m_pDlg)
        UpdateTextExtent(m_pDlg->MeasureDC());
}

void CSkinButton::UpdateTextExtent(plat::DeviceContext& dc) {
    const plat::Font* previous = m_pFont ? dc.selectFont(m_pFont) : dc.font();
    m_textExtent = m_caption.isEmpty() ? plat::Size{} : dc.getTextExtent(m_caption);
    dc.selectFont(previous);
}

void CSkinButton::SetImages(const skin::StateImages& images, int cap) {
    m_images = images;
    m_drawnHeight = images.size.cy;
    m_cap = cap == -1 ? images.size.cx / 3 : cap;
    m_marginLeft = m_cap;
    m_marginRight = m_cap;
    Remeasure();
    Redraw();
}

void CSkinButton::SetImages(int normalX, int normalY, int hotX, int hotY, int disabledX, int disabledY,
                            int pressedX, int pressedY, int width, int height, int cap) {
    SetImages(
        {{normalX, normalY}, {hotX, hotY}, {disabledX, disabledY}, {pressedX, pressedY}, {width, height}},
        cap);
}

void CSkinButton::SetStateImage(int state, int x, int y, int width, int height, int cap) {
    const plat::Point origin{x, y};
    switch (state) {
    case skin::kImageNormal:
        m_images.normal = origin;
        break;
    case skin::kImageHot:
        m_images.hot = origin;
        break;
    case skin::kImageDisabled:
        m_images.disabled = origin;
        break;
    case skin::kImagePressed:
        m_images.pressed = origin;
        break;
    default:
        return;
    }
    if (width != -1)
        m_images.size.cx = width;
    if (height != -1) {
        m_images.size.cy = height;
        m_drawnHeight = height;
    }
    if (cap != -1)
        m_cap = cap;
    Remeasure();
    Redraw();
}

void CSkinButton::SetColors(int leftMargin, int rightMargin, int topMargin, const plat::Font* font,
                            plat::ColorRef color) {
    m_marginLeft = leftMargin;
    m_marginRight = rightMargin;
    m_marginTop = topMargin;
    if (font) {
        m_pFont = font;
        Remeasure();
    }
    if (color != kKeepColor)
        m_textColor = color;
    Redraw();
}

void CSkinButton::SetStyle(int preset) {
    const skin::ButtonPreset look = skin::ButtonStylePreset(preset);
    m_textColor = skin::kButtonTextColor;
    if (look.hasImages)
        SetImages(look.images, look.cap);
    m_textColor = look.textColor;
    if (m_width > 0 && m_height > 0)
        Redraw();
}

void CSkinButton::SetHeight(int drawnHeight, const plat::Font* font) {
    m_drawnHeight = drawnHeight;
    if (font) {
        m_pFont = font;
        Remeasure();
    }
}

void CSkinButton::SetAnimation(const skin::AnimationStrip& strip, bool iconLeft) {
    m_strip = strip;
    m_iconLeft = iconLeft;
    m_frames.Start(MonotonicMs(), strip.frameCount);
    const plat::Size extent = strip.Extent();
    if (!m_frameDC.create(extent.cx, extent.cy) || !m_pAtlasDC) {
        m_frames.Stop();
        return;
    }
    m_frameDC.bitBlt(0, 0, extent.cx, extent.cy, *m_pAtlasDC, strip.origin.x, strip.origin.y);
    // A dark-on-white strip becomes an icon in the text colour: darkness turns into coverage.
    for (int row = 0; row < extent.cy; ++row) {
        std::uint32_t* line = m_frameDC.scanLine(row);
        for (int col = 0; col < extent.cx; ++col) {
            const int blue = int(line[col] & 0xFF);
            line[col] = plat::PremultipliedArgb(m_textColor, 255 - blue);
        }
    }
    Redraw();
}

void CSkinButton::SetAnimation(int stripX, int stripY, int frameWidth, int frameHeight, bool vertical,
                               int frameCount, bool iconLeft) {
    SetAnimation({{stripX, stripY}, {frameWidth, frameHeight}, vertical, frameCount}, iconLeft);
}

void CSkinButton::StopAnimation() {
    m_frames.Stop();
    Redraw();
}

void CSkinButton::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    if (m_width < 2 * m_cap || m_height != m_drawnHeight)
        SetPosition(-1, -1, qMax(m_width, 2 * m_cap), m_drawnHeight, 0);
    const int imageWidth = m_images.size.cx;
    const int imageHeight = m_images.size.cy;
    if (m_pAtlasDC && imageWidth > 0) {
        const plat::Point src = m_images.Of(skin::PickButtonImage(m_enabled, IsHot(), IsPressed()));
        const bool sameHeight = m_drawnHeight == imageHeight;
        for (const skin::SlicePiece& piece : skin::ButtonBackSlices(imageWidth, m_cap, m_width)) {
            if (sameHeight && piece.srcWidth == piece.dstWidth) {
                dc.bitBlt(x + piece.dstX, y, piece.dstWidth, imageHeight, *m_pAtlasDC, src.x + piece.srcX,
                          src.y);
            } else {
                dc.stretchBlt(x + piece.dstX, y, piece.dstWidth, m_drawnHeight, *m_pAtlasDC,
                              src.x + piece.srcX, src.y, piece.srcWidth, imageHeight);
            }
        }
    }
    plat::Rect text{x + m_marginLeft, y + m_marginTop, x + m_width - m_marginRight, y + m_height};
    if (m_frames.Running()) {
        const plat::Size icon = m_strip.frame;
        const int gap = (m_height - m_marginTop - icon.cy) / 2;
        const int iconY = y + (m_height - m_marginTop - icon.cy) / 2;
        int iconX;
        if (m_iconLeft) {
            iconX = text.left + gap;
            text.left += icon.cx + 2 * gap;
        } else {
            iconX = text.right - icon.cx - gap;
            text.right -= icon.cx + 2 * gap;
        }
        m_frames.Advance(MonotonicMs());
        const plat::Point src = m_strip.FrameAt(m_frames.frame);
        dc.alphaBlend(iconX, iconY, icon.cx, icon.cy, m_frameDC, src.x, src.y, icon.cx, icon.cy, 255, true);
    }
    if (m_textExtent.cx == 0)
        return;
    const plat::Font* previous = m_pFont ? dc.selectFont(m_pFont) : dc.font();
    const plat::ColorRef previousColor = dc.setTextColor(m_enabled ? m_textColor : skin::kDisabledTextColor);
    dc.drawText(m_caption, text,
                plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine | plat::kTextEndEllipsis |
                    plat::kTextNoPrefix);
    dc.setTextColor(previousColor);
    dc.selectFont(previous);
}
