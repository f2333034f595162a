#include "skin/skin_element.h"

#include "core/clock.h"
#include "skin/host_window.h"
#include "skin/scroll_geometry.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

namespace {

// The one-line field in three pieces, any other frame in eight around a white centre.
constexpr plat::Rect kLineLeft = skin::AtlasRect("frame.line.left");
constexpr plat::Rect kLineMiddle = skin::AtlasRect("frame.line.middle");
constexpr plat::Rect kLineRight = skin::AtlasRect("frame.line.right");
constexpr plat::Rect kFrameTopLeft = skin::AtlasRect("frame.topLeft");
constexpr plat::Rect kFrameTop = skin::AtlasRect("frame.top");
constexpr plat::Rect kFrameTopRight = skin::AtlasRect("frame.topRight");
constexpr plat::Rect kFrameLeft = skin::AtlasRect("frame.left");
constexpr plat::Rect kFrameRight = skin::AtlasRect("frame.right");
constexpr plat::Rect kFrameBottomLeft = skin::AtlasRect("frame.bottomLeft");
constexpr plat::Rect kFrameBottom = skin::AtlasRect("frame.bottom");
constexpr plat::Rect kFrameBottomRight = skin::AtlasRect("frame.bottomRight");
constexpr int kFrameCap = kFrameTopLeft.width();
constexpr int kFrameBand = kFrameTopLeft.height();
constexpr int kOneLineHeight = kLineLeft.height();

constexpr plat::ColorRef kTrackColor = 0xFFF5E7;
constexpr int kArrow = skin::kScrollbarArrow;

// Scrollbar pieces (all 14 px across the bar). The thumb's caps are its first and last pixels along the bar,
// so a short thumb takes the last c pixels of its end piece.
struct BarPieces {
    plat::Rect firstArrow;
    plat::Rect secondArrow;
    plat::Rect thumbStart;
    plat::Rect thumbMiddle;
    plat::Rect grip;
    plat::Rect thumbEnd;
    bool vertical;

    plat::Point EndCap(int c) const {
        return vertical ? plat::Point{thumbEnd.left, thumbEnd.bottom - c}
                        : plat::Point{thumbEnd.right - c, thumbEnd.top};
    }
};
constexpr BarPieces kVerticalPieces{skin::AtlasRect("vscroll.up"),
                                    skin::AtlasRect("vscroll.down"),
                                    skin::AtlasRect("vscroll.thumbStart"),
                                    skin::AtlasRect("vscroll.thumbMiddle"),
                                    skin::AtlasRect("vscroll.grip"),
                                    skin::AtlasRect("vscroll.thumbEnd"),
                                    true};
constexpr BarPieces kHorizontalPieces{skin::AtlasRect("hscroll.left"),
                                      skin::AtlasRect("hscroll.right"),
                                      skin::AtlasRect("hscroll.thumbStart"),
                                      skin::AtlasRect("hscroll.thumbMiddle"),
                                      skin::AtlasRect("hscroll.grip"),
                                      skin::AtlasRect("hscroll.thumbEnd"),
                                      false};

} // namespace

CSkinElement::CSkinElement()
    : m_className(u"CSkinElement"_s), m_life(std::make_shared<skin::ElementLife>(skin::ElementLife{this})) {}

CSkinElement::~CSkinElement() {
    Detach();
    m_life->element = nullptr;
}

void CSkinElement::Create(CSkinDlgHolder* holder, unsigned /*id*/, const QString& caption,
                          const QString& command, int param, const QString& tooltip) {
    if (holder && holder != this) {
        m_pDlg = holder->m_pDlg;
        holder->AddElement(this, 0, 0, -1, -1, -1);
    } else if (IsHolder()) {
        m_pHolder = static_cast<CSkinDlgHolder*>(this);
    }
    m_pAtlasDC = m_pDlg ? m_pDlg->m_pAtlasDC : nullptr;
    if (!caption.isNull())
        SetText(caption);
    if (!tooltip.isNull())
        m_tooltip = tooltip;
    if (!command.isNull())
        m_command = command;
    m_param = param;
}

void CSkinElement::Draw(plat::DeviceContext& /*dc*/, int /*x*/, int /*y*/, bool /*full*/) {}

void CSkinElement::OnPositionChanged() {
    m_right = m_x + m_width;
    m_bottom = m_y + m_height;
    m_frameWidth = m_width;
    m_frameHeight = m_height;
    Redraw();
}

void CSkinElement::OnMouseEnter() {
    Redraw();
}

void CSkinElement::OnMouseLeave() {
    Redraw();
}

void CSkinElement::OnSetFocus(int /*x*/, int /*y*/) {
    if (m_pDlg)
        m_pDlg->m_pFocus = this;
    Redraw();
}

void CSkinElement::OnKillFocus() {
    if (m_pDlg && m_pDlg->m_pFocus == this)
        m_pDlg->m_pFocus = nullptr;
    Redraw();
}

bool CSkinElement::GetToolTip(QString& text, plat::Rect* rect) {
    text = m_tooltip;
    if (rect) {
        const plat::Point at = GetDialogPos();
        *rect = plat::Rect::fromXywh(at.x, at.y, m_width, m_height);
    }
    return !text.isEmpty();
}

void CSkinElement::SetText(const QString& text) {
    m_caption = text;
    if (m_pDlg)
        UpdateTextExtent(m_pDlg->MeasureDC());
}

QString CSkinElement::GetText() const {
    return m_caption;
}

void CSkinElement::EnableDragDrop() {
    if (m_pDlg && !m_inElementList) {
        m_pDlg->ListForDragDrop(this);
        m_inElementList = true;
    }
}

void CSkinElement::Redraw() {
    if (m_pDlg)
        m_pDlg->Invalidate();
}

void CSkinElement::SetPosition(int x, int y, int width, int height, int flags) {
    if (x != -1)
        m_x = x;
    if (y != -1)
        m_y = y;
    if (width != 0 || height != 0) {
        const int holderWidth = m_pHolder ? m_pHolder->m_width : 0;
        const int holderHeight = m_pHolder ? m_pHolder->m_height : 0;
        // A holder smaller than the inset asked for leaves an empty element, never a negative one.
        m_width = qMax(0, width < 0 ? holderWidth + width : width);
        m_height = qMax(0, height < 0 ? holderHeight + height : height);
    }
    OnPositionChanged();
    if (flags == kShowFlag)
        m_visible = true;
    else if (flags == kHideFlag)
        m_visible = false;
    CSkinDlgHolder* holder = m_pHolder;
    if (holder && holder != static_cast<CSkinElement*>(this) && m_bottom + 4 > holder->m_contentHeight) {
        holder->m_contentHeight = m_bottom + 4;
        holder->OnPositionChanged();
    }
}

void CSkinElement::SetVisible(bool visible) {
    m_visible = visible;
    if (!visible && m_pDlg)
        m_pDlg->DropTooltipOf(this);
    Redraw();
}

void CSkinElement::SetEnabled(bool enabled) {
    m_enabled = enabled;
    Redraw();
}

void CSkinElement::SetFocus() {
    CSkinDlg_Base* dlg = m_pDlg;
    if (!dlg || dlg->m_pFocus == this)
        return;
    if (CSkinElement* focus = dlg->m_pFocus)
        focus->OnKillFocus();
    OnSetFocus(0, 0);
}

void CSkinElement::SetToolTip(const QString& text) {
    m_tooltip = text;
}

plat::Point CSkinElement::GetDialogPos() const {
    plat::Point at{m_x, m_y};
    const CSkinDlgHolder* holder = m_pHolder;
    bool direct = true;
    while (holder && holder != static_cast<const CSkinElement*>(this)) {
        const bool root = holder->m_pHolder == holder;
        if (root && !direct)
            break;
        if (!holder->m_flat) {
            at.x += 4;
            at.y += 4;
        }
        at.y -= holder->m_scrollY;
        at.x += holder->m_x;
        at.y += holder->m_y;
        if (root)
            break;
        holder = holder->m_pHolder;
        direct = false;
    }
    return at;
}

void CSkinElement::Detach() {
    // A focused element does its kill-focus work before it goes (an edit field reports its end, a drop list
    // keeps what was typed), unless its dialog is being torn down and may hear nothing more. That work may
    // take the element away itself; there is then nothing left to do here.
    if (CSkinDlg_Base* dlg = m_pDlg; dlg && !dlg->IsTornDown() && dlg->m_pFocus == this) {
        const skin::ElementHandle self(this);
        OnKillFocus();
        if (self == nullptr || m_pDlg != dlg)
            return;
        if (dlg->m_pFocus == nullptr)
            skin::HostWindow(*dlg).setFocus();
    }
    if (m_pDlg) {
        m_pDlg->ForgetElement(this);
        if (m_inElementList)
            m_pDlg->UnlistForDragDrop(this);
    }
    m_inElementList = false;
    CSkinDlg_Base::ClearHoverSlot(this);
    if (m_pHolder && m_pHolder != static_cast<CSkinElement*>(this))
        m_pHolder->RemoveElement(this);
    m_pHolder = nullptr;
    m_pDlg = nullptr;
    m_caption.clear();
    m_command.clear();
    m_tooltip.clear();
    m_param = 0;
}

bool CSkinElement::IsHolder() const {
    return m_className == "CSkinDlgHolder"_L1;
}

bool CSkinElement::IsWithin(const CSkinElement* other) const {
    const CSkinElement* e = this;
    while (e) {
        if (e == other)
            return true;
        const CSkinElement* up = e->m_pHolder;
        if (up == e)
            break;
        e = up;
    }
    return false;
}

void CSkinElement::DrawFrame(int x, int y, int width, int height, plat::DeviceContext& dc) {
    if (!m_pAtlasDC)
        return;
    const plat::DeviceContext& atlas = *m_pAtlasDC;
    const int right = x + width - kFrameCap;
    const int midW = width - 2 * kFrameCap;
    if (height == kOneLineHeight) {
        skin::DrawPiece(dc, x, y, atlas, kLineLeft);
        skin::DrawPiece(dc, right, y, atlas, kLineRight);
        if (midW > 0) {
            skin::StretchPiece(dc, plat::Rect::fromXywh(x + kFrameCap, y, midW, kOneLineHeight), atlas,
                               kLineMiddle);
        }
        return;
    }
    const int midH = height - 2 * kFrameBand;
    const int bottom = y + height - kFrameBand;
    skin::DrawPiece(dc, x, y, atlas, kFrameTopLeft);
    skin::DrawPiece(dc, right, y, atlas, kFrameTopRight);
    skin::DrawPiece(dc, right, bottom, atlas, kFrameBottomRight);
    skin::DrawPiece(dc, x, bottom, atlas, kFrameBottomLeft);
    if (midW > 0) {
        skin::StretchPiece(dc, plat::Rect::fromXywh(x + kFrameCap, y, midW, kFrameBand), atlas, kFrameTop);
        skin::StretchPiece(dc, plat::Rect::fromXywh(x + kFrameCap, bottom, midW, kFrameBand), atlas,
                           kFrameBottom);
    }
    if (midH > 0) {
        skin::StretchPiece(dc, plat::Rect::fromXywh(x, y + kFrameBand, kFrameCap, midH), atlas, kFrameLeft);
        skin::StretchPiece(dc, plat::Rect::fromXywh(right, y + kFrameBand, kFrameCap, midH), atlas,
                           kFrameRight);
    }
    if (midW > 0 && midH > 0)
        dc.fillSolidRect(plat::Rect::fromXywh(x + kFrameCap, y + kFrameBand, midW, midH), 0xFFFFFF);
}

namespace {

// One scrollbar along [from, to]; vertical bars run down column `across`, horizontal ones along row `across`.
void DrawBar(plat::DeviceContext& dc, const plat::DeviceContext& atlas, bool vertical, int across, int from,
             int to, qint64 content, qint64 view, qint64 offset) {
    const BarPieces& p = vertical ? kVerticalPieces : kHorizontalPieces;
    // len pixels along the bar at pos, stretched from srcLen pixels of the atlas piece at src.
    auto piece = [&](plat::Point src, int pos, int len, int srcLen) {
        if (len <= 0)
            return;
        if (vertical)
            dc.stretchBlt(across, pos, kArrow, len, atlas, src.x, src.y, kArrow, srcLen);
        else
            dc.stretchBlt(pos, across, len, kArrow, atlas, src.x, src.y, srcLen, kArrow);
    };
    const skin::ThumbGeometry t = skin::ComputeThumb(from, to, content, view, offset);
    piece(p.firstArrow.topLeft(), from, kArrow, kArrow);
    piece(p.secondArrow.topLeft(), to - kArrow, kArrow, kArrow);
    if (t.track > 0) {
        const plat::Rect track = vertical ? plat::Rect::fromXywh(across, from + kArrow, kArrow, t.track)
                                          : plat::Rect::fromXywh(from + kArrow, across, t.track, kArrow);
        dc.fillSolidRect(track, kTrackColor);
    }
    if (t.length <= 0)
        return;
    const int start = from + kArrow + t.pos;
    const int cap = qMin(kArrow, (t.length + 1) / 2);
    piece(p.thumbStart.topLeft(), start, cap, cap);
    piece(p.EndCap(cap), start + t.length - cap, cap, cap);
    if (t.length >= 2 * kArrow + 1) {
        piece(p.thumbMiddle.topLeft(), start + cap, t.length - 2 * cap, kArrow);
        piece(p.grip.topLeft(), start + (t.length - kArrow) / 2, kArrow, kArrow);
    }
}

} // namespace

void CSkinElement::DrawScrollbars(plat::DeviceContext& dc, int topInset, int leftInset, plat::Point origin) {
    m_viewLeft = qMax(4, leftInset + 4);
    m_viewTop = qMax(4, topInset + 4);
    m_rightInset = 4;
    m_bottomInset = 4;
    const int viewWidth = m_frameWidth - (leftInset + 4) - 4;
    int viewHeight = m_frameHeight - (topInset + 4) - 4;
    const bool horizontal = m_contentWidth > viewWidth;
    if (horizontal) {
        viewHeight -= skin::kScrollbarWidth;
        m_bottomInset += skin::kScrollbarWidth;
    } else {
        m_scrollX = 0;
    }
    const bool vertical = m_contentHeight > viewHeight;
    if (vertical)
        m_rightInset += skin::kScrollbarWidth;
    else
        m_scrollY = 0;
    if (!m_pAtlasDC)
        return;
    if (horizontal) {
        DrawBar(dc, *m_pAtlasDC, false, origin.y + m_frameHeight - skin::kScrollbarWidth,
                origin.x + m_viewLeft, origin.x + m_frameWidth - m_rightInset, m_contentWidth,
                viewWidth - (vertical ? skin::kScrollbarWidth : 0), m_scrollX);
    }
    if (vertical) {
        DrawBar(dc, *m_pAtlasDC, true, origin.x + m_frameWidth - skin::kScrollbarWidth, origin.y + m_viewTop,
                origin.y + m_frameHeight - m_bottomInset, m_contentHeight, viewHeight, m_scrollY);
    }
}

bool CSkinElement::OnMouse(int x, int y, int state) {
    if (m_pDlg)
        m_pDlg->m_pHover = this;
    if (state == skin::kMouseHeld && m_scrollMode == kScrollNone && (!m_pDlg || m_pDlg->m_pPressed != this))
        PickScrollPart(x, y);
    if (m_scrollMode == kScrollNone)
        return false;
    if (state != skin::kMouseHeld) {
        // A release anywhere lets go of the bar, even when it happened outside this element.
        m_scrollMode = kScrollNone;
        m_scrollAnchor = 0;
        return state == skin::kMouseReleased;
    }
    StepScroll(x, y);
    return true;
}

void CSkinElement::PickScrollPart(int x, int y) {
    auto pick = [this](int along, int from, int to, qint64 content, qint64 view, qint64 offset, int first,
                       int pageBack, int thumb, int pageFore, int second) {
        if (along >= from && along < from + kArrow) {
            m_scrollMode = first;
        } else if (along >= to - kArrow && along < to) {
            m_scrollMode = second;
        } else {
            const skin::ThumbGeometry t = skin::ComputeThumb(from, to, content, view, offset);
            const int start = from + kArrow + t.pos;
            m_scrollMode = along < start ? pageBack : (along >= start + t.length ? pageFore : thumb);
        }
        m_scrollAnchor = along;
    };
    if (m_contentHeight > m_height && x > m_width - m_rightInset) {
        const int to = m_height - m_bottomInset;
        pick(y, m_viewTop, to, m_contentHeight, to - m_viewTop, m_scrollY, kScrollUp, kScrollPageUp,
             kScrollVThumb, kScrollPageDown, kScrollDown);
    } else if (m_contentWidth > m_width && y > m_height - m_bottomInset) {
        const int to = m_width - m_rightInset;
        pick(x, m_viewLeft, to, m_contentWidth, to - m_viewLeft, m_scrollX, kScrollLeft, kScrollPageLeft,
             kScrollHThumb, kScrollPageRight, kScrollRight);
    }
}

void CSkinElement::StepScroll(int x, int y) {
    const qint64 now = MonotonicMs();
    if (now < m_nextScrollStep)
        return;
    m_nextScrollStep = now + skin::kScrollStepMs;

    const bool vertical = m_scrollMode == kScrollUp || m_scrollMode == kScrollVThumb ||
                          m_scrollMode == kScrollPageUp || m_scrollMode == kScrollPageDown ||
                          m_scrollMode == kScrollDown;
    const int from = vertical ? m_viewTop : m_viewLeft;
    const int to = vertical ? m_height - m_bottomInset : m_width - m_rightInset;
    const int view = to - from;
    const qint64 content = vertical ? m_contentHeight : m_contentWidth;
    int& offset = vertical ? m_scrollY : m_scrollX;
    const int mouse = vertical ? y : x;
    const skin::ThumbGeometry t = skin::ComputeThumb(from, to, content, view, offset);
    const int thumbStart = from + kArrow + t.pos;

    qint64 wanted = offset;
    switch (m_scrollMode) {
    case kScrollUp:
    case kScrollLeft:
        wanted -= skin::ArrowStep(view);
        break;
    case kScrollDown:
    case kScrollRight:
        wanted += skin::ArrowStep(view);
        break;
    case kScrollPageUp:
    case kScrollPageLeft:
        if (mouse < thumbStart)
            wanted -= skin::PageStep(view);
        break;
    case kScrollPageDown:
    case kScrollPageRight:
        if (mouse >= thumbStart + t.length)
            wanted += skin::PageStep(view);
        break;
    default:
        wanted += skin::ThumbDragDelta(mouse - m_scrollAnchor, content, view, t.free);
        break;
    }
    const int clamped = skin::ClampScrollOffset(wanted, content, view);
    if (clamped == offset)
        return;
    offset = clamped;
    if (m_scrollMode == kScrollVThumb || m_scrollMode == kScrollHThumb)
        m_scrollAnchor = mouse;
    ++m_changeCount;
    Redraw();
}
