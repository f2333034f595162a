#include "skin/skin_progress.h"

#include "skin/button_images.h"
#include "skin/skin_atlas.h"
#include "skin/value_format.h"

using namespace Qt::StringLiterals;

namespace {

constexpr plat::Rect kLeft = skin::AtlasRect("progress.left");
constexpr plat::Rect kMiddle = skin::AtlasRect("progress.middle");
constexpr plat::Rect kRight = skin::AtlasRect("progress.right");
constexpr plat::Rect kFill = skin::AtlasRect("progress.fill");
constexpr int kMarqueeBlock = 20;
constexpr plat::ColorRef kFillText = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kTrackText = skin::kButtonTextColor;

} // namespace

CSkinProgress::CSkinProgress() {
    m_className = u"CSkinProgress"_s;
}

CSkinProgress::~CSkinProgress() = default;

int CSkinProgress::Clamped(int position) const {
    return qMax(m_minimum, qMin(position, m_maximum));
}

void CSkinProgress::SetRange(int minimum, int maximum) {
    if (minimum == m_minimum && maximum == m_maximum)
        return;
    m_minimum = minimum;
    m_maximum = maximum;
    Redraw();
}

void CSkinProgress::SetPos(int position) {
    const int clamped = Clamped(position);
    if (clamped == m_position)
        return;
    m_position = clamped;
    Redraw();
}

void CSkinProgress::SetRangePos(int minimum, int maximum, int position) {
    const bool rangeChanged = minimum != m_minimum || maximum != m_maximum;
    m_minimum = minimum;
    m_maximum = maximum;
    const int clamped = Clamped(position);
    if (!rangeChanged && clamped == m_position)
        return;
    m_position = clamped;
    Redraw();
}

void CSkinProgress::StartMarquee() {
    if (m_marquee)
        return;
    m_marquee = true;
    Redraw();
}

void CSkinProgress::StopMarquee() {
    m_marquee = false;
    m_position = m_minimum;
    Redraw();
}

void CSkinProgress::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    if (m_height != kHeight)
        SetPosition(-1, -1, m_width, kHeight, 0);
    if (m_pAtlasDC) {
        const plat::DeviceContext& atlas = *m_pAtlasDC;
        skin::DrawPiece(dc, x, y, atlas, kLeft);
        skin::StretchPiece(
            dc, plat::Rect::fromXywh(x + kLeft.width(), y, m_width - kLeft.width() - kRight.width(), kHeight),
            atlas, kMiddle);
        skin::DrawPiece(dc, x + m_width - kRight.width(), y, atlas, kRight);
    }
    // A position outside a range changed under it draws as the nearer end, never past the bar.
    const qint64 range = qMax<qint64>(qint64(m_maximum) - m_minimum, 1);
    const qint64 done = qBound<qint64>(0, qint64(m_position) - m_minimum, range);
    int start = 1;
    int end = int(done * (m_width - 4) / range) + 1;
    if (m_marquee) {
        const int centre = int(done * m_width / range);
        start = qMax(1, qMin(centre - kMarqueeBlock / 2, m_width - 3));
        end = qMax(1, qMin(centre + kMarqueeBlock / 2, m_width - 3));
    }
    if (end > start && m_pAtlasDC) {
        skin::StretchPiece(dc, plat::Rect::fromXywh(x + start, y + 1, end - start, kFill.height()),
                           *m_pAtlasDC, kFill);
    }
    if (m_marquee || m_format.isEmpty())
        return;
    const QString text = skin::FormatValue(m_format, done * 100 / range);
    const int textWidth = dc.getTextExtent(text).cx;
    const int textX =
        end >= textWidth + 10 ? x + (end - textWidth - start) / 2 + 2 : x + (m_width - textWidth) / 2;
    // Each part of the text takes the colour that stands out from what lies under it: white over the done
    // part, ink over the empty track, so the text reads on both sides of the fill's edge.
    const plat::ColorRef previous = dc.setTextColor(kTrackText);
    dc.pushClip(plat::Rect{x + qMax(end, start), y, x + m_width, y + kHeight});
    dc.textOut(textX, y - 1, text);
    dc.popClip();
    dc.pushClip(plat::Rect{x, y, x + start, y + kHeight});
    dc.textOut(textX, y - 1, text);
    dc.popClip();
    if (end > start) {
        dc.setTextColor(kFillText);
        dc.pushClip(plat::Rect{x + start, y, x + end, y + kHeight});
        dc.textOut(textX, y - 1, text);
        dc.popClip();
    }
    dc.setTextColor(previous);
}
