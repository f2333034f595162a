#include "skin/skin_tooltip_windows.h"

#include "core/clock.h"
#include "core/platform_services.h"
#include "platform/screens.h"
#include "skin/button_images.h"
#include "skin/host_window.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg.h"

namespace {

constexpr unsigned kPollTimer = 1;
constexpr plat::ColorRef kLinkColor = 0xFF0000; // blue

// Back picture: the push button's normal image, its corners a third of its size.
constexpr plat::Rect kBack = skin::AtlasRect("button.normal");

// Counts nested handler calls, so the owner never deletes the tooltip from inside one of them.
class HandlerScope {
  public:
    explicit HandlerScope(int& depth) : m_depth(depth) { ++m_depth; }
    ~HandlerScope() { --m_depth; }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

  private:
    int& m_depth;
};

} // namespace

CSkinTooltip_windows::CSkinTooltip_windows(CSkinDlg* owner, const QString& text,
                                           const plat::Rect& elementRect)
    : plat::Window(&skin::HostWindow(*owner), plat::WindowKind::Tooltip), m_pOwner(owner), m_text(text),
      m_layout(skin::LayoutTooltip(text, owner->m_font)), m_ownerElementRect(elementRect) {
    m_width = 2 * skin::kTooltipMargin + m_layout.textWidth;
    m_height = 2 * skin::kTooltipMargin + m_layout.textHeight;
}

CSkinTooltip_windows::~CSkinTooltip_windows() = default;

plat::Rect CSkinTooltip_windows::LinkRect() const {
    if (m_layout.linkRect.isEmpty())
        return {};
    return m_layout.linkRect.translated(skin::kTooltipMargin, skin::kTooltipMargin);
}

void CSkinTooltip_windows::ShowAt(plat::Point cursor) {
    setGeometry(skin::PlaceTooltip(cursor, {m_width, m_height}, plat::AvailableRectAt(cursor)));
    const plat::Rect placed = windowRect();
    const plat::Point ownerOrigin = skin::HostWindow(*m_pOwner).clientToScreen({0, 0});
    m_elementRect = m_ownerElementRect.translated(ownerOrigin.x - placed.left, ownerOrigin.y - placed.top);
    m_hideTime = MonotonicMs() + skin::kTooltipLifeMs;
    showNoActivate();
    setTimer(kPollTimer, skin::kTooltipPollMs);
}

void CSkinTooltip_windows::OwnerMouseMove(int x, int y) {
    if (m_closeState == kCloseNow)
        return;
    m_closeState = m_ownerElementRect.contains(x, y) ? kKeep : kCloseAtTimer;
}

void CSkinTooltip_windows::onPaint(plat::DeviceContext& dc) {
    const plat::DeviceContext* atlas = m_pOwner->m_pAtlasDC;
    if (atlas)
        for (const skin::NinePiece& piece : skin::NineSlice(kBack, plat::Rect{0, 0, m_width, m_height}))
            skin::StretchPiece(dc, piece.dst, *atlas, piece.src);
    else
        dc.fillSolidRect(plat::Rect{0, 0, m_width, m_height}, 0xFFFFFF);
    const plat::Font* previous = dc.selectFont(&m_pOwner->m_font);
    const plat::Font& font = m_pOwner->m_font;
    for (size_t i = 0; i < m_layout.lines.size(); ++i) {
        const auto& line = m_layout.lines[i];
        const int y = skin::kTooltipMargin + int(i) * m_layout.lineHeight;
        const qsizetype at = m_layout.link.start - line.start;
        dc.setTextColor(0);
        if (m_layout.link.start < 0 || at < 0 || at >= line.text.size()) {
            dc.textOut(skin::kTooltipMargin, y, line.text);
            continue;
        }
        // The link's own words in blue, the rest of its line in black.
        const QString before = line.text.left(at);
        const QString link = line.text.mid(at, m_layout.link.length);
        const QString after = line.text.mid(at + m_layout.link.length);
        int x = skin::kTooltipMargin;
        dc.textOut(x, y, before);
        x += font.textExtent(before).cx;
        dc.setTextColor(kLinkColor);
        dc.textOut(x, y, link);
        x += font.textExtent(link).cx;
        dc.setTextColor(0);
        dc.textOut(x, y, after);
    }
    dc.selectFont(previous);
}

void CSkinTooltip_windows::onMouseMove(int /*x*/, int /*y*/) {
    if (m_closeState != kCloseNow)
        m_closeState = kKeep;
}

void CSkinTooltip_windows::onLButtonDown(int x, int y) {
    HandlerScope scope(m_handlerDepth);
    m_closeState = kCloseNow;
    if (LinkRect().contains(x, y)) {
        OpenUrlInBrowser(m_layout.link.url);
        return;
    }
    if (m_elementRect.contains(x, y)) {
        // The element under the tooltip gets the press as if the tooltip were not there.
        const plat::Point owner = skin::HostWindow(*m_pOwner).screenToClient(clientToScreen({x, y}));
        m_forwardedPress = true;
        m_pOwner->onLButtonDown(owner.x, owner.y);
    }
}

void CSkinTooltip_windows::onLButtonUp(int x, int y) {
    HandlerScope scope(m_handlerDepth);
    if (m_forwardedPress) {
        m_forwardedPress = false;
        const plat::Point owner = skin::HostWindow(*m_pOwner).screenToClient(clientToScreen({x, y}));
        m_pOwner->onLButtonUp(owner.x, owner.y);
    }
}

void CSkinTooltip_windows::onRButtonDown(int /*x*/, int /*y*/) {
    m_closeState = kCloseNow;
}

bool CSkinTooltip_windows::onMouseWheel(int /*delta*/, int /*x*/, int /*y*/) {
    m_closeState = kCloseNow;
    return true;
}

bool CSkinTooltip_windows::onKeyDown(int /*key*/, unsigned /*modifiers*/, bool /*autoRepeat*/) {
    m_closeState = kCloseNow;
    return false;
}

void CSkinTooltip_windows::onTimer(unsigned /*id*/) {
    if (m_closeState == kCloseAtTimer)
        m_closeState = kCloseNow;
    if (m_closeState == kCloseNow)
        hide();
}
