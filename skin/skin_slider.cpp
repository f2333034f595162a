#include "skin/skin_slider.h"

#include "platform/keys.h"
#include "skin/element_state.h"
#include "skin/skin_constants.h"
#include "skin/value_format.h"

using namespace Qt::StringLiterals;

namespace {

constexpr plat::Rect kTrack = skin::AtlasRect("slider.track");
// The slider has no disabled picture: a disabled slider shows its normal one.
constexpr skin::StateImages kThumb = skin::AtlasStates("slider.thumb.normal", "slider.thumb.hot",
                                                       "slider.thumb.normal", "slider.thumb.pressed");
constexpr plat::ColorRef kDisabledText = plat::Rgb(192, 192, 192);
// The pointer maps onto the range over the width less this much.
constexpr int kPointerInset = 11;

} // namespace

CSkinSlider::CSkinSlider()
    : m_trackImages(skin::StateImages::Single(kTrack.topLeft(), kTrack.size())), m_thumbImages(kThumb) {
    m_className = u"CSkinSlider"_s;
    m_wantsKeys = true;
    m_wantsAllMoves = true;
}

CSkinSlider::~CSkinSlider() = default;

void CSkinSlider::SetImages(bool thumb, plat::Point normal, plat::Point hot, plat::Point pressed, int width,
                            int height) {
    const skin::StateImages images{normal, hot, normal, pressed, {width, height}};
    if (thumb) {
        m_thumbImages = images;
        m_keyColor = plat::kInvalidColor;
    } else {
        m_trackImages = images;
    }
    Redraw();
}

void CSkinSlider::MoveTo(qint64 position) {
    const qint64 clamped = qMax<qint64>(m_minimum, qMin<qint64>(position, m_maximum));
    if (clamped == m_position)
        return;
    m_position = int(clamped);
    Redraw();
}

void CSkinSlider::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    if (m_height < kMinHeight)
        SetPosition(-1, -1, m_width, kMinHeight, 0);
    const bool hot = skin::IsHotElement(*this);
    const skin::ButtonImage state = skin::PickButtonImage(true, hot, skin::IsPressedElement(*this));
    const plat::Size track = m_trackImages.size;
    const plat::Size thumb = m_thumbImages.size;
    const qint64 range = qMax<qint64>(qint64(m_maximum) - m_minimum, 1);
    const qint64 offset = qBound<qint64>(0, qint64(m_position) - m_minimum, range);
    const int thumbX = int(qint64(m_width - thumb.cx) * offset / range);
    if (m_pAtlasDC) {
        const plat::DeviceContext& atlas = *m_pAtlasDC;
        if (m_keyColor == plat::kInvalidColor)
            m_keyColor = atlas.getPixel(m_thumbImages.normal.x, m_thumbImages.normal.y);
        const plat::Point src = m_trackImages.Of(state);
        const int trackY = y + (thumb.cy - track.cy) / 2;
        const int half = qMin(m_width / 2, track.cx / 3);
        dc.bitBlt(x, trackY, half, track.cy, atlas, src.x, src.y);
        dc.bitBlt(x + m_width - half, trackY, half, track.cy, atlas, src.x + track.cx - half, src.y);
        dc.stretchBlt(x + half, trackY, m_width - 2 * half, track.cy, atlas, src.x + half, src.y,
                      track.cx - 2 * half, track.cy);
        const plat::Point knob = m_thumbImages.Of(state);
        dc.transparentBlt(x + thumbX, y, thumb.cx, thumb.cy, atlas, knob.x, knob.y, thumb.cx, thumb.cy,
                          m_keyColor);
    }
    QString text;
    if (m_position == m_minimum && !m_minText.isEmpty())
        text = m_minText;
    else if (m_position == m_maximum && !m_maxText.isEmpty())
        text = m_maxText;
    else
        text = skin::FormatValue(m_valueFormat, m_position);
    const plat::Size extent = dc.getTextExtent(text);
    // Beside the thumb on the right, unless it would run into the slider's end.
    const int textX = thumbX + extent.cx + 13 >= m_width ? thumbX - 2 - extent.cx : thumbX + thumb.cx + 2;
    const plat::ColorRef previous = dc.setTextColor(m_enabled ? plat::Rgb(0, 0, 0) : kDisabledText);
    dc.textOut(x + textX, y + m_height - extent.cy, text);
    dc.setTextColor(previous);
}

bool CSkinSlider::OnMouse(int x, int y, int state) {
    if (CSkinElement::OnMouse(x, y, state))
        return true;
    if (state != skin::kMouseHeld && state != skin::kMouseReleased)
        return false;
    // A slider narrower than the inset still maps the pointer without dividing by zero.
    const qint64 span = qMax(m_width - kPointerInset, 1);
    const qint64 along = qBound(0, x, m_width);
    MoveTo(m_minimum + (qint64(m_maximum) - m_minimum) * along / span);
    return false;
}

void CSkinSlider::OnKeyDown(int vk) {
    switch (vk) {
    case plat::kKeyLeft:
    case plat::kKeyDown:
        MoveTo(qint64(m_position) - 1);
        break;
    case plat::kKeyRight:
    case plat::kKeyUp:
        MoveTo(qint64(m_position) + 1);
        break;
    case plat::kKeyPageUp:
        MoveTo(qint64(m_position) - 10);
        break;
    case plat::kKeyPageDown:
        MoveTo(qint64(m_position) + 10);
        break;
    case plat::kKeyHome:
        MoveTo(m_minimum);
        break;
    case plat::kKeyEnd:
        MoveTo(m_maximum);
        break;
    default:
        break;
    }
}
