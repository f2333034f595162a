#include "skin/wnd_shadow.h"

#include "platform/compositor.h"
#include "platform/device_context.h"

#include <vector>

namespace {

bool s_initialized = false;
bool s_available = false;

// The rows of a window's shape, as its region gives them.
std::vector<ShadowSpan> ShapeRows(const plat::Window& window, int width, int height) {
    std::vector<ShadowSpan> rows(size_t(std::max(0, height)));
    for (int y = 0; y < height; ++y) {
        int left = 0;
        while (left < width && !window.regionContains(left, y))
            ++left;
        if (left == width)
            continue;
        int right = width;
        while (right > left && !window.regionContains(right - 1, y))
            --right;
        rows[size_t(y)] = ShadowSpan{left, right};
    }
    return rows;
}

} // namespace

// The translucent window that shows the picture.
class CWndShadow::Surface : public plat::Window {
  public:
    explicit Surface(plat::Window* parent) : plat::Window(parent, plat::WindowKind::Layered) {}

    void onPaint(plat::DeviceContext& dc) override {
        dc.create(dc.width(), dc.height());
        if (!image.isNull())
            dc.bitBlt(0, 0, image.width(), image.height(), image, 0, 0);
    }

    plat::DeviceContext image;
};

CWndShadow::CWndShadow() = default;

CWndShadow::~CWndShadow() = default;

bool CWndShadow::Initialize() {
    if (s_initialized)
        return false;
    s_initialized = true;
    // A shadow must stand beside its window and below it, which Wayland does not let a program arrange.
    s_available = plat::TranslucentWindowsAvailable() && plat::TopLevelPlacementAvailable();
    return s_available;
}

bool CWndShadow::Available() {
    return s_available;
}

void CWndShadow::Create(plat::Window* parent) {
    if (!s_available || !parent)
        return;
    m_parent = parent;
    m_surface = std::make_unique<Surface>(parent);
    m_status = kEnabled;
    Update();
}

void CWndShadow::Update() {
    m_status &= kEnabled;
    if (!(m_status & kEnabled))
        return;
    if (m_parent->isVisible()) {
        m_status |= kParentVisible;
        if (!m_parent->isMaximized() && !m_parent->isMinimized())
            m_status |= kShown;
    }
    if (m_status & kShown) {
        Rebuild();
        m_surface->showNoActivate();
    } else {
        m_surface->hide();
    }
}

bool CWndShadow::SetDarkness(int darkness) {
    if (darkness < 0 || darkness > 255)
        return false;
    m_look.darkness = darkness;
    return Restyled();
}

bool CWndShadow::SetSharpness(int sharpness) {
    if (sharpness < 0 || sharpness > kMaxShadowReach)
        return false;
    m_look.sharpness = sharpness;
    return Restyled();
}

bool CWndShadow::SetSize(int size) {
    if (size < -kMaxShadowReach || size > kMaxShadowReach)
        return false;
    m_look.size = size;
    return Restyled();
}

bool CWndShadow::SetPosition(int x, int y) {
    if (x < -kMaxShadowReach || x > kMaxShadowReach || y < -kMaxShadowReach || y > kMaxShadowReach)
        return false;
    m_look.xOffset = x;
    m_look.yOffset = y;
    return Restyled();
}

bool CWndShadow::SetColor(plat::ColorRef color) {
    m_look.color = color & 0xFFFFFFu;
    return Restyled();
}

bool CWndShadow::Restyled() {
    if (m_status & kShown)
        Rebuild();
    return true;
}

plat::Rect CWndShadow::ShadowRect() const {
    const plat::Rect parent = m_parent->windowRect();
    const int s = m_look.size;
    return plat::Rect::fromXywh(parent.left + m_look.xOffset - s, parent.top + m_look.yOffset - s,
                                parent.width() + 2 * s, parent.height() + 2 * s);
}

void CWndShadow::Rebuild() {
    const plat::Size size = m_parent->clientSize();
    if (!MakeShadowImage(m_surface->image, ShapeRows(*m_parent, size.cx, size.cy), size.cx, m_look))
        return;
    m_surface->setGeometry(ShadowRect());
    m_surface->invalidate();
}

void CWndShadow::OnParentMove() {
    if (m_status & kShown)
        m_surface->setGeometry(ShadowRect());
}

void CWndShadow::OnParentSize(plat::SizeType type, int width, int height) {
    if (!(m_status & kEnabled))
        return;
    const plat::Size size{width, height};
    if (type != plat::SizeType::Restored) {
        m_surface->hide();
        m_status &= ~kShown;
    } else if (m_parent->isVisible()) {
        m_status |= kParentVisible;
        if (m_status & kShown) {
            // Growing defers the rebuild to the next paint, so a drag rebuilds once per painted frame.
            if (width > m_lastSize.cx || height > m_lastSize.cy)
                m_updatePending = true;
            else
                Rebuild();
        } else {
            m_status |= kShown;
            Rebuild();
            m_surface->showNoActivate();
            m_updatePending = true;
        }
    }
    m_lastSize = size;
}

void CWndShadow::OnParentPaint() {
    if (!m_updatePending)
        return;
    m_updatePending = false;
    if (m_status & kShown)
        Rebuild();
}

void CWndShadow::OnParentDestroy() {
    m_surface.reset();
    m_status = 0;
    m_parent = nullptr;
}
