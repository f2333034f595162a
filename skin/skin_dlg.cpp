#include "skin/skin_dlg.h"

#include "core/clock.h"
#include "platform/screens.h"
#include "skin/commands.h"
#include "skin/markup_text.h"
#include "skin/shade_cache.h"
#include "skin/skin_atlas.h"

using namespace Qt::StringLiterals;

namespace {

constexpr plat::Rect kTitleBar = skin::AtlasRect("title.bar");
constexpr plat::Rect kTitleIcon = skin::AtlasRect("title.icon");
constexpr plat::Rect kCornerBottomLeft = skin::AtlasRect("frame.cornerBottomLeft");
constexpr plat::Rect kCornerBottomRight = skin::AtlasRect("frame.cornerBottomRight");
constexpr int kTitleBarHeight = kTitleBar.height();
constexpr int kBorder = 3;

} // namespace

CSkinDlg::CSkinDlg(CSkinDlg_Base* parent, plat::WindowKind kind) : CSkinDlg_Base(parent, kind) {}

CSkinDlg::~CSkinDlg() {
    m_tooltipWnd.reset();
    m_tooltipShown = false;
}

void CSkinDlg::ShadeClient(plat::DeviceContext& dc) {
    const int w = m_width;
    const int h = m_height;
    // The inner rectangle sits 200 px inside; a side of 400 px or less shades all the way to its centre line.
    const plat::Rect inner{w > 400 ? 200 : w / 2, h > 400 ? 200 : h / 2, w > 400 ? w - 200 : w / 2,
                           h > 400 ? h - 200 : h / 2};
    plat::Rect outer{0, 0, w, h};
    if (m_framed)
        outer = plat::Rect{kBorder, m_hasTitleBar ? kTitleBarHeight : kBorder, w - kBorder, h - kBorder};
    // With the inner rectangle inside the outer one the shading covers exactly the outer one, once: that
    // rectangle can come from the cache. Tinier windows shade afresh.
    const bool nested = outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
                        inner.bottom <= outer.bottom;
    if (!nested) {
        ShadeBands(dc, outer, inner);
        return;
    }
    skin::ShadeCache& cache = skin::SharedShadeCache();
    const skin::ShadeCache::Key key{w, h, m_framed, m_hasTitleBar};
    if (const plat::PixelRuns* shaded = cache.Find(key)) {
        shaded->draw(dc, outer.left, outer.top);
        return;
    }
    ShadeBands(dc, outer, inner);
    // Kept only when the clip let all of it be drawn.
    if (dc.clipBox().intersected(outer) == outer)
        cache.Insert(key, plat::PixelRuns::capture(dc, outer));
}

void CSkinDlg::ShadeBands(plat::DeviceContext& dc, const plat::Rect& outer, const plat::Rect& inner) {
    auto band = [&](plat::Point o1, plat::Point o2, plat::Point i2, plat::Point i1) {
        const plat::GradientVertex a{o1.x, o1.y, kShadeOuter};
        const plat::GradientVertex b{o2.x, o2.y, kShadeOuter};
        const plat::GradientVertex c{i2.x, i2.y, kShadeInner};
        const plat::GradientVertex d{i1.x, i1.y, kShadeInner};
        dc.gradientFillTriangle(a, b, c);
        dc.gradientFillTriangle(a, c, d);
    };
    const int ol = outer.left, ot = outer.top, orr = outer.right, ob = outer.bottom;
    const int il = inner.left, it = inner.top, ir = inner.right, ib = inner.bottom;
    band({ol, ot}, {orr, ot}, {ir, it}, {il, it});
    band({orr, ot}, {orr, ob}, {ir, ib}, {ir, it});
    band({orr, ob}, {ol, ob}, {il, ib}, {ir, ib});
    band({ol, ob}, {ol, ot}, {il, it}, {il, ib});
    if (!inner.isEmpty())
        dc.fillSolidRect(inner, kInnerFill);
}

void CSkinDlg::DrawBackground(plat::DeviceContext& dc) {
    const int w = m_width;
    const int h = m_height;
    ShadeClient(dc);
    if (!m_framed)
        return;
    if (!m_hasTitleBar) {
        dc.setPen(kUntitledFrame, 3);
        const plat::Point frame[5] = {{1, 1}, {w - 2, 1}, {w - 2, h - 2}, {1, h - 2}, {1, 1}};
        dc.polyline(frame, 5);
        return;
    }
    if (m_pAtlasDC) {
        skin::StretchPiece(dc, plat::Rect::fromXywh(0, 0, w, kTitleBarHeight), *m_pAtlasDC, kTitleBar);
        if (m_hasIcon)
            skin::DrawPiece(dc, 8, 7, *m_pAtlasDC, kTitleIcon);
        skin::DrawPiece(dc, 0, h - kCornerBottomLeft.height(), *m_pAtlasDC, kCornerBottomLeft);
        skin::DrawPiece(dc, w - kCornerBottomRight.width(), h - kCornerBottomRight.height(), *m_pAtlasDC,
                        kCornerBottomRight);
    }
    dc.fillSolidRect(plat::Rect::fromXywh(0, kTitleBarHeight, kBorder, h - 34), kBorderColor);
    dc.fillSolidRect(plat::Rect::fromXywh(w - kBorder, kTitleBarHeight, kBorder, h - 34), kBorderColor);
    dc.fillSolidRect(plat::Rect::fromXywh(kBorder, h - kBorder, w - 2 * kBorder, kBorder), kBorderColor);
    DrawGlowText(dc, skin::TitleMarkup(m_title), m_hasIcon ? 36 : 12, 7, 0xFFFFFF, 0x000000, nullptr, nullptr,
                 4);
}

void CSkinDlg::ShowTooltip(bool show) {
    if (!show) {
        m_tooltipWnd.reset();
        m_tooltipShown = false;
        return;
    }
    m_tooltipWnd = std::make_unique<CSkinTooltip_windows>(this, m_tooltipText, m_tooltipRect);
    m_tooltipWnd->ShowAt(plat::CursorPos());
    m_tooltipShown = true;
}

void CSkinDlg::TooltipInput(bool closeNow, int x, int y) {
    if (!m_tooltipWnd)
        return;
    if (!closeNow)
        m_tooltipWnd->OwnerMouseMove(x, y);
    else if (m_tooltipWnd->InHandler())
        m_tooltipWnd->RequestClose();
    else
        ShowTooltip(false);
}

void CSkinDlg::OnTimer(unsigned id) {
    CSkinDlg_Base::OnTimer(id);
    if (!m_tooltipWnd || m_tooltipWnd->InHandler())
        return;
    if (m_tooltipWnd->CloseRequest() == CSkinTooltip_windows::kCloseNow ||
        MonotonicMs() > m_tooltipWnd->HideTime())
        ShowTooltip(false);
}

void CSkinDlg::SetPopupStyle() {
    m_framed = false;
    m_maximizable = false;
    m_minimizable = false;
    m_closable = false;
    m_captureMode = true;
    m_keepPosition = true;
    m_minWidth = 1;
    m_minHeight = 1;
}

void CSkinDlg::onCancelPopup() {
    if (Result() == 0)
        OnCommand(skin::cmd::kDefaultCancel, 0);
}
