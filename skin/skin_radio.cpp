#include "skin/skin_radio.h"

#include "platform/color.h"
#include "skin/dotted_frame.h"
#include "skin/element_state.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

namespace {

// A ticked box is also the pressed look of an unticked one, and the other way round.
constexpr skin::StateImages kUnchecked = skin::AtlasStates("check.off", "check.off", "check.off", "check.on");
constexpr skin::StateImages kChecked = skin::AtlasStates("check.on", "check.on", "check.on", "check.off");
constexpr plat::ColorRef kBoxKey = plat::Rgb(255, 0, 255);
constexpr plat::ColorRef kDisabledShade = plat::Rgb(200, 200, 200);
constexpr plat::ColorRef kDisabledText = plat::Rgb(100, 100, 100);
constexpr plat::ColorRef kHotOutline = plat::Rgb(150, 150, 150);
constexpr int kMinHeight = 17;

} // namespace

CSkinRadio::CSkinRadio() {
    m_className = u"CSkinRadio"_s;
    m_takesKeys = true;
}

CSkinRadio::~CSkinRadio() = default;

void CSkinRadio::Create(CSkinDlgHolder* holder, unsigned id, const QString& text, const QString& command,
                        int param, const QString& tooltip) {
    CSkinElement::Create(holder, id, u""_s, command, param, tooltip);
    m_uncheckedImages = kUnchecked;
    m_checkedImages = kChecked;
    m_checkBox = false;
    SetText(text);
}

void CSkinRadio::SetStyle(int style) {
    if (style == 0 || style == 1) {
        m_uncheckedImages = kUnchecked;
        m_checkedImages = kChecked;
    }
    m_checkBox = style != 0;
    Redraw();
}

void CSkinRadio::SetImages(const skin::StateImages& unchecked, const skin::StateImages& checked) {
    m_uncheckedImages = unchecked;
    m_checkedImages = checked;
    m_checkedImages.size = unchecked.size;
    if (!m_caption.isEmpty() && m_pDlg)
        UpdateTextExtent(m_pDlg->MeasureDC());
    Redraw();
}

void CSkinRadio::SetImages(plat::Point uncheckedNormal, plat::Point uncheckedHot,
                           plat::Point uncheckedDisabled, plat::Point uncheckedPressed,
                           plat::Point checkedNormal, plat::Point checkedHot, plat::Point checkedDisabled,
                           plat::Point checkedPressed, int boxWidth, int boxHeight) {
    const plat::Size box{boxWidth, boxHeight};
    SetImages({uncheckedNormal, uncheckedHot, uncheckedDisabled, uncheckedPressed, box},
              {checkedNormal, checkedHot, checkedDisabled, checkedPressed, box});
}

void CSkinRadio::SetStateImage(int index, int x, int y, int width, int height) {
    if (index < 0 || index > 7)
        return;
    skin::StateImages& images = index < 4 ? m_uncheckedImages : m_checkedImages;
    plat::Point* const states[] = {&images.normal, &images.hot, &images.disabled, &images.pressed};
    *states[index % 4] = {x, y};
    plat::Size box = m_uncheckedImages.size;
    if (width != -1)
        box.cx = width;
    if (height != -1)
        box.cy = height;
    m_uncheckedImages.size = m_checkedImages.size = box;
    if (m_pDlg)
        UpdateTextExtent(m_pDlg->MeasureDC());
    Redraw();
}

void CSkinRadio::UpdateTextExtent(plat::DeviceContext& dc) {
    const plat::Size box = m_uncheckedImages.size;
    m_textExtent = m_caption.isEmpty() ? plat::Size{} : dc.getTextExtent(m_caption);
    const int height = qMax(qMax(box.cy + 2, m_textExtent.cy + 2), kMinHeight);
    const int width = m_caption.isEmpty() ? box.cx + 2 : box.cx + m_textExtent.cx + 6;
    SetPosition(-1, -1, width, height, 0);
}

void CSkinRadio::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    const plat::Size box = m_uncheckedImages.size;
    const bool hot = skin::IsHotElement(*this);
    if (m_pAtlasDC && box.cx > 0 && box.cy > 0) {
        const skin::StateImages& images = m_checked ? m_checkedImages : m_uncheckedImages;
        const plat::Point src =
            images.Of(skin::PickButtonImage(m_enabled, hot, skin::IsPressedElement(*this)));
        const int margin = (m_height - box.cy) / 2;
        dc.transparentBlt(x + margin, y + margin, box.cx, box.cy, *m_pAtlasDC, src.x, src.y, box.cx, box.cy,
                          kBoxKey);
    }
    if (!m_caption.isEmpty()) {
        const plat::ColorRef previous = dc.textColor();
        if (!m_enabled) {
            dc.setTextColor(kDisabledShade);
            dc.textOut(x + box.cx + 4, y + 1, m_caption);
        }
        dc.setTextColor(m_enabled ? plat::Rgb(0, 0, 0) : kDisabledText);
        dc.textOut(x + box.cx + 3, y + (box.cy - m_textExtent.cy) / 2, m_caption);
        dc.setTextColor(previous);
    }
    if (hot)
        skin::DrawDottedFrame(dc, plat::Rect::fromXywh(x, y, m_width, m_height), kHotOutline);
}

bool CSkinRadio::OnMouse(int x, int y, int state) {
    if (CSkinElement::OnMouse(x, y, state))
        return true;
    if (state == skin::kMouseHeld) {
        // A press that began on another element and was dragged here is not a press on this one.
        const CSkinElement* pressed = m_pDlg ? static_cast<CSkinElement*>(m_pDlg->m_pPressed) : nullptr;
        m_pressed = pressed == nullptr || pressed == this;
    } else if (state == skin::kMouseReleased && m_pressed) {
        m_pressed = false;
        if (m_checkBox) {
            m_checked = !m_checked;
        } else {
            m_checked = true;
            ClearGroup();
        }
        Redraw();
    } else if (state == skin::kMouseMove) {
        m_pressed = false;
    }
    return false;
}

void CSkinRadio::ClearGroup() {
    if (!m_pHolder || m_pHolder == static_cast<CSkinElement*>(this))
        return;
    for (const CSkinDlgHolder_Element& child : m_pHolder->Children()) {
        CSkinElement* other = child.element;
        if (other == this || other->m_className != "CSkinRadio"_L1 || other->m_command != m_command)
            continue;
        auto* radio = static_cast<CSkinRadio*>(other);
        if (radio->m_checked) {
            radio->m_checked = false;
            radio->Redraw();
        }
    }
}
