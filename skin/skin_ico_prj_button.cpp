#include "skin/skin_ico_prj_button.h"

#include "platform/text_format.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

namespace {

constexpr skin::StateImages kCard =
    skin::AtlasStates("prjButton.normal", "prjButton.hot", "prjButton.normal", "prjButton.pressed");
constexpr skin::StateImages kChosenCard =
    skin::AtlasStates("prjButton.chosen", "prjButton.hot", "prjButton.normal", "prjButton.pressed");
// The texts start at the icon's width plus this from the button's left edge.
constexpr int kTextGap = 14;
constexpr int kTextRightMargin = 6;
constexpr int kLineGap = 2;
constexpr unsigned kOneLine =
    plat::kTextVCenter | plat::kTextSingleLine | plat::kTextEndEllipsis | plat::kTextNoPrefix;

} // namespace

// It keeps the element base's class name: nothing tests for this kind by name.
CSkinIcoPrjButton::CSkinIcoPrjButton() {
    m_focusOnClick = false;
}

CSkinIcoPrjButton::~CSkinIcoPrjButton() = default;

void CSkinIcoPrjButton::Create(CSkinDlgHolder* holder, unsigned id, const QString& caption,
                               const QString& command, int param, const QString& tooltip) {
    CSkinDlg_Base* dlg = holder ? holder->m_pDlg : nullptr;
    m_pCaptionFont = dlg ? &dlg->m_fontBold15 : nullptr;
    m_pTextFont = dlg ? &dlg->m_font : nullptr;
    CSkinElement::Create(holder, id, caption, command, param, tooltip);
    m_pIconDC = m_pAtlasDC;
    SetBackStyle(1);
}

void CSkinIcoPrjButton::SetBackRects(int normalX, int normalY, int hotX, int hotY, int disabledX,
                                     int disabledY, int pressedX, int pressedY, int width, int height) {
    m_back = {
        {normalX, normalY}, {hotX, hotY}, {disabledX, disabledY}, {pressedX, pressedY}, {width, height}};
    Redraw();
}

void CSkinIcoPrjButton::SetBackStyle(int style) {
    switch (style) {
    case 0:
        m_back = skin::kPushButtonImages;
        break;
    case 1:
        m_back = kCard;
        break;
    case 2:
        m_back = kChosenCard;
        break;
    default:
        return;
    }
    Redraw();
}

void CSkinIcoPrjButton::SetIcon(const plat::DeviceContext* image, int x, int y, bool transparent) {
    m_pIconDC = image ? image : m_pAtlasDC;
    m_icon = {x, y};
    m_transparentIcon = transparent;
    Redraw();
}

void CSkinIcoPrjButton::SetTexts(const QString& text, const QString& selectedText) {
    m_text = text;
    m_selectedText = selectedText;
    if (m_pDlg)
        UpdateTextExtent(m_pDlg->MeasureDC());
    Redraw();
}

void CSkinIcoPrjButton::SetSelected(bool selected) {
    if (selected == m_selected)
        return;
    m_selected = selected;
    if (m_pDlg)
        UpdateTextExtent(m_pDlg->MeasureDC());
    Redraw();
}

void CSkinIcoPrjButton::UpdateTextExtent(plat::DeviceContext& dc) {
    auto measure = [&dc](const plat::Font* font, const QString& text) {
        if (text.isEmpty())
            return plat::Size{};
        const plat::Font* previous = font ? dc.selectFont(font) : dc.font();
        const plat::Size extent = dc.getTextExtent(text);
        dc.selectFont(previous);
        return extent;
    };
    m_captionExtent = measure(m_pCaptionFont, m_caption);
    m_secondExtent = measure(m_pTextFont, SecondText());
    Redraw();
}

bool CSkinIcoPrjButton::IsHot() const {
    return m_pDlg && (m_pDlg->m_pHover == this || m_pDlg->m_pFocus == this);
}

bool CSkinIcoPrjButton::IsPressed() const {
    return IsHot() && m_pDlg->m_pPressed == this;
}

plat::Rect CSkinIcoPrjButton::CaptionRect() const {
    // The two lines sit together, centred on the button's height; an empty line takes no room.
    const int gap = m_captionExtent.cy > 0 && m_secondExtent.cy > 0 ? kLineGap : 0;
    const int top = (m_height - m_captionExtent.cy - gap - m_secondExtent.cy) / 2;
    return {kIconSize + kTextGap, top, m_width - kTextRightMargin, top + m_captionExtent.cy};
}

plat::Rect CSkinIcoPrjButton::SecondTextRect() const {
    const plat::Rect caption = CaptionRect();
    const int top = caption.bottom + (m_captionExtent.cy > 0 && m_secondExtent.cy > 0 ? kLineGap : 0);
    return {caption.left, top, caption.right, top + m_secondExtent.cy};
}

void CSkinIcoPrjButton::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    const bool hot = IsHot();
    const bool pressed = IsPressed();
    if (m_pAtlasDC && m_back.size.cx > 0 && m_back.size.cy > 0) {
        const plat::Point back = m_back.Of(skin::PickIcoBackImage(m_enabled, hot, pressed, m_selected));
        const plat::Rect src = plat::Rect::fromXywh(back.x, back.y, m_back.size.cx, m_back.size.cy);
        for (const skin::NinePiece& piece :
             skin::NineSlice(src, plat::Rect::fromXywh(x, y, m_width, m_height)))
            skin::StretchPiece(dc, piece.dst, *m_pAtlasDC, piece.src);
    }
    if (m_pIconDC && m_icon.x >= 0 && m_icon.y >= 0) {
        const int ix = x + kIconMargin;
        const int iy = y + kIconMargin;
        if (m_transparentIcon) {
            dc.transparentBlt(ix, iy, kIconSize, kIconSize, *m_pIconDC, m_icon.x, m_icon.y, kIconSize,
                              kIconSize, m_keyColor);
        } else {
            dc.bitBlt(ix, iy, kIconSize, kIconSize, *m_pIconDC, m_icon.x, m_icon.y);
        }
    }
    const plat::ColorRef previousColor =
        dc.setTextColor(m_enabled ? skin::kButtonTextColor : skin::kDisabledTextColor);
    const plat::Font* previousFont = dc.font();
    if (!m_caption.isEmpty()) {
        if (m_pCaptionFont)
            dc.selectFont(m_pCaptionFont);
        plat::Rect caption = CaptionRect().translated(x, y);
        dc.drawText(m_caption, caption, plat::kTextLeft | kOneLine);
    }
    const QString& second = SecondText();
    if (!second.isEmpty()) {
        if (m_pTextFont)
            dc.selectFont(m_pTextFont);
        plat::Rect text = SecondTextRect().translated(x, y);
        dc.drawText(second, text, plat::kTextCenter | kOneLine);
    }
    dc.selectFont(previousFont);
    dc.setTextColor(previousColor);
}
