#include "skin/skin_dlg_holder.h"

#include "core/clock.h"
#include "skin/button_images.h"
#include "skin/scroll_geometry.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kClickScroll = 10;
constexpr int kTickScroll = 15;

int Resolve(int value, int extent) {
    return value < 0 ? extent + value : value;
}

void SetDialogDeep(CSkinElement* element, CSkinDlg_Base* dlg) {
    // A listed element keeps its dialog: the dialog's drop list still holds it.
    if (!dlg && element->m_inElementList)
        return;
    element->m_pDlg = dlg;
    if (dlg && !element->m_pAtlasDC)
        element->m_pAtlasDC = dlg->m_pAtlasDC;
    if (element->IsHolder())
        for (const auto& child : static_cast<CSkinDlgHolder*>(element)->Children())
            SetDialogDeep(child.element, dlg);
}

} // namespace

// The auto-scroll bars look like push buttons, with an arrow icon centred on them.
CSkinDlgHolder::CSkinDlgHolder(bool autoScroll, bool flat)
    : m_autoScroll(autoScroll),
      m_flat(flat), m_barImages{skin::kPushButtonImages.normal, skin::kPushButtonImages.hot,
                                skin::kPushButtonImages.normal, skin::kPushButtonImages.pressed},
      m_barImageWidth(skin::kPushButtonImages.size.cx),
      m_barHeight(skin::kButtonHeight), m_arrowIcons{skin::AtlasRect("holder.arrowUp"),
                                                     skin::AtlasRect("holder.arrowDown")},
      m_edgeZone(skin::kButtonHeight) {
    m_className = u"CSkinDlgHolder"_s;
    m_wantsTicks = true;
}

CSkinDlgHolder::~CSkinDlgHolder() {
    for (const auto& child : m_children) {
        if (m_pDlg)
            m_pDlg->ForgetElement(child.element);
        child.element->m_pHolder = nullptr;
        SetDialogDeep(child.element, nullptr);
    }
    m_children.clear();
    m_rules.clear();
    Detach();
}

void CSkinDlgHolder::Create(CSkinDlgHolder* parent, unsigned id) {
    Create(parent, id, QString(), QString(), 0, QString());
}

void CSkinDlgHolder::Create(CSkinDlgHolder* parent, unsigned id, const QString& /*caption*/,
                            const QString& /*command*/, int /*param*/, const QString& /*tooltip*/) {
    if (!m_pDlg && parent && parent != this)
        m_pDlg = parent->m_pDlg;
    CSkinElement::Create(parent, id, QString(), QString(), 0, QString());
    m_nextScrollTime = MonotonicMs();
    if (m_pAtlasDC && !m_pAtlasDC->isNull()) {
        const plat::Rect box = m_pAtlasDC->clipBox();
        m_keyColor = m_pAtlasDC->getPixel(box.right - 1, box.bottom - 1);
    }
    Redraw();
}

void CSkinDlgHolder::SetBarImages(int normalX, int normalY, int hoverX, int hoverY, int pressedX,
                                  int pressedY, int heldX, int heldY, int imageWidth, int barHeight,
                                  int cap) {
    m_barImages = {plat::Point{normalX, normalY}, {hoverX, hoverY}, {pressedX, pressedY}, {heldX, heldY}};
    m_barImageWidth = imageWidth;
    m_barHeight = barHeight;
    m_edgeZone = barHeight;
    m_barCap = cap == -1 ? imageWidth / 3 : cap;
    Redraw();
}

void CSkinDlgHolder::SetArrowIcon(int index, int x, int y, int width, int height) {
    if (index < 0 || index >= int(m_arrowIcons.size()))
        return;
    m_arrowIcons[size_t(index)] = plat::Rect::fromXywh(x, y, width, height);
    Redraw();
}

int CSkinDlgHolder::ViewHeight() const {
    return qMax(0, m_height - 2 * Inset());
}

void CSkinDlgHolder::AddElement(CSkinElement* element, int x, int y, int width, int height, int rowHeight) {
    if (!element || element == this)
        return;
    if (element->m_pHolder && element->m_pHolder != element)
        element->m_pHolder->RemoveElement(element);
    element->m_pHolder = this;
    SetDialogDeep(element, m_pDlg);
    if (width == -1)
        width = element->m_width;
    if (height == -1)
        height = element->m_height;
    if (rowHeight == -1)
        rowHeight = height;
    element->SetPosition(x, y, width, height, 0);
    m_contentHeight = qMax(m_contentHeight, y + rowHeight + 4);
    m_children.push_back({element, x, y, width, height, rowHeight});
}

void CSkinDlgHolder::SetResizeRule(CSkinElement* element, int left, int top, int right, int bottom,
                                   bool deferred) {
    if (!element || element == this)
        return;
    CSkinDlgHolder_OnResizeElements rule{element, left, top, right, bottom, deferred};
    auto it =
        std::find_if(m_rules.begin(), m_rules.end(), [&](const auto& r) { return r.element == element; });
    if (it != m_rules.end())
        *it = rule;
    else
        m_rules.push_back(rule);
    if (!deferred)
        ApplyRule(rule);
}

void CSkinDlgHolder::RemoveElement(CSkinElement* element) {
    if (!element || element == this)
        return;
    // Children usually leave in reverse order of joining; searching from the back keeps that linear.
    auto it = std::find_if(m_children.rbegin(), m_children.rend(),
                           [&](const auto& child) { return child.element == element; });
    if (it != m_children.rend())
        m_children.erase(std::next(it).base());
    std::erase_if(m_rules, [&](const auto& r) { return r.element == element; });
    if (element->m_pHolder == this) {
        if (m_pDlg)
            m_pDlg->ForgetElement(element);
        element->m_pHolder = nullptr;
        SetDialogDeep(element, nullptr);
    }
}

void CSkinDlgHolder::RemoveAll() {
    while (!m_children.empty())
        RemoveElement(m_children.back().element);
    m_rules.clear();
    if (m_pDlg) {
        if (m_pDlg->m_pHover == this)
            m_pDlg->m_pHover = nullptr;
        if (m_pDlg->m_pPressed == this)
            m_pDlg->m_pPressed = nullptr;
    }
    Detach();
}

void CSkinDlgHolder::ApplyRule(const CSkinDlgHolder_OnResizeElements& rule) {
    rule.element->SetPosition(Resolve(rule.left, m_width), Resolve(rule.top, m_height),
                              Resolve(rule.right, m_width), Resolve(rule.bottom, m_height), 0);
}

void CSkinDlgHolder::OnPositionChanged() {
    if (m_width == 0 || m_height == 0)
        return;
    CSkinElement::OnPositionChanged();
    m_scrollY = skin::ClampScrollOffset(m_scrollY, m_contentHeight, ViewHeight());
    // A rule may grow the content and so run this layout again; the index keeps the walk valid.
    for (size_t i = 0; i < m_rules.size(); ++i) {
        const CSkinDlgHolder_OnResizeElements rule = m_rules[i];
        ApplyRule(rule);
        rule.element->OnLayout();
    }
}

void CSkinDlgHolder::Draw(plat::DeviceContext& dc, int x, int y, bool full) {
    const int viewHeight = ViewHeight();
    if (m_width <= 0 || viewHeight <= 0) {
        if (!m_flat)
            DrawFrame(x, y, m_frameWidth, m_frameHeight, dc);
        return;
    }
    // The surface covers only what shows, so its size never depends on how tall the content is.
    if (m_surface.width() != m_width || m_surface.height() != viewHeight) {
        m_surface.create(m_width, viewHeight);
        m_surface.setStretchMode(plat::StretchMode::Halftone);
    }
    if (m_pDlg)
        m_surface.selectFont(&m_pDlg->m_font);
    if (m_flat)
        m_surface.bitBlt(0, 0, m_width, viewHeight, dc, x, y);
    else
        m_surface.fillSolidRect(plat::Rect{0, 0, m_width, viewHeight}, 0xFFFFFF);
    const int top = m_scrollY;
    const int bottom = m_scrollY + viewHeight;
    for (size_t i = 0; i < m_children.size(); ++i) {
        CSkinElement* child = m_children[i].element;
        if (child->m_visible && child->m_bottom > top && child->m_y < bottom)
            child->Draw(m_surface, child->m_x, child->m_y - top, full);
    }
    if (m_flat) {
        dc.bitBlt(x, y, m_width, viewHeight, m_surface, 0, 0);
    } else {
        DrawFrame(x, y, m_frameWidth, m_frameHeight, dc);
        dc.bitBlt(x + 4, y + 4, m_width - 8, qMin(m_contentHeight, viewHeight), m_surface, 0, 0);
    }
    if (m_autoScroll) {
        if (m_scrollY > 0)
            DrawBar(dc, x, y, true);
        if (m_contentHeight - m_scrollY > viewHeight)
            DrawBar(dc, x, y + m_height - m_barHeight, false);
    }
}

void CSkinDlgHolder::DrawBar(plat::DeviceContext& dc, int x, int y, bool up) {
    if (!m_pAtlasDC)
        return;
    const int dir = up ? -1 : 1;
    size_t state = 0;
    if (m_autoScrollDir == dir)
        state = (m_pDlg && m_pDlg->m_pPressed == this) ? 3 : 1;
    const plat::Point image = m_barImages[state];
    const int h = m_barHeight;
    const int cap = qBound(0, m_barCap, m_barImageWidth / 2);
    const plat::DeviceContext& atlas = *m_pAtlasDC;
    dc.bitBlt(x, y, cap, h, atlas, image.x, image.y);
    dc.stretchBlt(x + cap, y, m_width - 2 * cap, h, atlas, image.x + cap, image.y, m_barImageWidth - 2 * cap,
                  h);
    dc.bitBlt(x + m_width - cap, y, cap, h, atlas, image.x + m_barImageWidth - cap, image.y);
    const plat::Rect& arrow = m_arrowIcons[up ? 0 : 1];
    dc.transparentBlt(x + (m_width - arrow.width()) / 2, y + (h - arrow.height()) / 2, arrow.width(),
                      arrow.height(), atlas, arrow.left, arrow.top, arrow.width(), arrow.height(),
                      m_keyColor);
}

bool CSkinDlgHolder::OnMouse(int x, int y, int state) {
    if (CSkinElement::OnMouse(x, y, state))
        return true;
    if (m_autoScrollDir == 0) {
        // Children sit inside the frame and scroll with the content.
        const int cx = x - Inset();
        const int cy = y - Inset() + m_scrollY;
        for (size_t i = 0; i < m_children.size(); ++i) {
            CSkinElement* child = m_children[i].element;
            if (child->m_visible && child->m_enabled && cx >= child->m_x && cx < child->m_right &&
                cy >= child->m_y && cy < child->m_bottom)
                child->OnMouse(cx - child->m_x, cy - child->m_y, state);
        }
    }
    if (m_autoScroll) {
        const int view = ViewHeight();
        int dir = 0;
        if (y < m_edgeZone && m_scrollY > 0)
            dir = -1;
        else if (y >= m_frameHeight - m_edgeZone && m_contentHeight - m_scrollY > view)
            dir = 1;
        const bool turned = dir != m_autoScrollDir;
        m_autoScrollDir = dir;
        int offset = m_scrollY;
        const qint64 now = MonotonicMs();
        if (state == skin::kMouseReleased && dir != 0 && now >= m_nextScrollTime) {
            offset += dir * kClickScroll;
            m_nextScrollTime = now + skin::kAutoScrollStepMs;
        }
        offset = skin::ClampScrollOffset(offset, m_contentHeight, view);
        const bool moved = offset != m_scrollY;
        m_scrollY = offset;
        if (moved)
            ++m_changeCount;
        if (turned || moved)
            Redraw();
    }
    return false;
}

void CSkinDlgHolder::OnTick() {
    if (m_autoScrollDir == 0)
        return;
    const qint64 now = MonotonicMs();
    if (now < m_nextScrollTime)
        return;
    m_nextScrollTime = now + skin::kAutoScrollStepMs;
    const int offset =
        skin::ClampScrollOffset(m_scrollY + m_autoScrollDir * kTickScroll, m_contentHeight, ViewHeight());
    if (offset != m_scrollY) {
        m_scrollY = offset;
        ++m_changeCount;
        Redraw();
    }
}

CSkinDlgHolder* CSkinDlgHolder::Root() {
    CSkinDlgHolder* holder = this;
    while (holder->m_pHolder && holder->m_pHolder != holder)
        holder = holder->m_pHolder;
    return holder;
}

void CSkinDlgHolder::CollectFocusOrder(std::vector<CSkinElement*>& order) {
    for (const auto& child : m_children) {
        CSkinElement* e = child.element;
        if (!e->m_visible)
            continue;
        if (e->IsHolder())
            static_cast<CSkinDlgHolder*>(e)->CollectFocusOrder(order);
        else
            order.push_back(e);
    }
}

bool CSkinDlgHolder::Focusable(const CSkinElement* element) const {
    return element->m_enabled && (element->m_takesKeys || element->m_wantsKeys);
}

bool CSkinDlgHolder::FocusNext(CSkinElement* current, bool backwards) {
    if (current && current->m_pHolder != this)
        return false;
    // One flat walk over the whole dialog in insertion order: nested holders are entered in place, so
    // their first child is reachable and the walk ends after one round.
    std::vector<CSkinElement*> order;
    Root()->CollectFocusOrder(order);
    const auto n = static_cast<qsizetype>(order.size());
    if (n == 0)
        return false;
    qsizetype start = backwards ? n : -1;
    if (current) {
        const auto it = std::find(order.begin(), order.end(), current);
        if (it != order.end())
            start = it - order.begin();
    }
    const qsizetype step = backwards ? -1 : 1;
    for (qsizetype i = 1; i <= n; ++i) {
        CSkinElement* candidate = order[static_cast<size_t>(((start + step * i) % n + n) % n)];
        if (candidate == current)
            break;
        if (Focusable(candidate)) {
            candidate->SetFocus();
            return true;
        }
    }
    return false;
}
