#include "skin/skin_win_list.h"

#include "platform/keys.h"
#include "skin/host_window.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_drop_list.h"

using namespace Qt::StringLiterals;

namespace {

// The lines start this far down and in from the window's edges.
constexpr int kLinesTop = 4;
constexpr int kLinesLeft = 4;
constexpr plat::ColorRef kHighlightColor = plat::Rgb(190, 230, 255);
constexpr plat::ColorRef kFocusDotColor = 0x000000;
constexpr plat::ColorRef kTextColor = 0x000000;
// While the button is held on a scroll arrow, the list keeps scrolling.
constexpr unsigned kRepeatTimerId = 1;

// The dotted frame of the line with the keyboard focus.
void DrawFocusDots(plat::DeviceContext& dc, const plat::Rect& r) {
    for (int x = r.left; x < r.right; x += 2) {
        dc.setPixel(x, r.top, kFocusDotColor);
        dc.setPixel(x, r.bottom - 1, kFocusDotColor);
    }
    for (int y = r.top; y < r.bottom; y += 2) {
        dc.setPixel(r.left, y, kFocusDotColor);
        dc.setPixel(r.right - 1, y, kFocusDotColor);
    }
}

} // namespace

CSkinElementDummy_WinList::CSkinElementDummy_WinList(CSkin_WinList& popup) : m_popup(popup) {
    m_className = u"CSkinElementDummy_WinList"_s;
}

void CSkinElementDummy_WinList::Draw(plat::DeviceContext& /*dc*/, int /*x*/, int /*y*/, bool /*full*/) {}

void CSkinElementDummy_WinList::Redraw() {
    m_popup.redrawNow();
}

CSkin_WinList::CSkin_WinList(CSkinDropList& list, CSkinDlg_Base& dlg)
    : plat::Window(&skin::HostWindow(dlg), plat::WindowKind::Popup), m_dummy(*this), m_list(list),
      m_dlg(dlg) {
    m_dummy.m_pAtlasDC = dlg.m_pAtlasDC;
}

CSkin_WinList::~CSkin_WinList() = default;

int CSkin_WinList::VisibleLines() const {
    return qMax(1, (clientSize().cy - 2 * kLinesTop) / m_lineHeight);
}

void CSkin_WinList::ScrollToTop(int index) {
    const int top = qMin(index, m_list.GetCount() - VisibleLines());
    m_dummy.m_scrollY = qMax(0, m_lineHeight * top);
}

void CSkin_WinList::ScrollIntoView(int index) {
    const int first = m_dummy.m_scrollY / m_lineHeight;
    if (index < first)
        m_dummy.m_scrollY = index * m_lineHeight;
    else if (index >= first + VisibleLines())
        m_dummy.m_scrollY = (index - VisibleLines() + 1) * m_lineHeight;
}

int CSkin_WinList::ItemAt(int y) const {
    const int row = qBound(0, (y - kLinesTop) / m_lineHeight, VisibleLines() - 1);
    const int index = m_dummy.m_scrollY / m_lineHeight + row;
    return index < m_list.GetCount() ? index : -1;
}

bool CSkin_WinList::InLines(int x, int y) const {
    const plat::Size size = clientSize();
    return x >= 0 && y >= 0 && y < size.cy && x < size.cx - qMax(kLinesLeft, m_dummy.m_rightInset);
}

void CSkin_WinList::onSize(plat::SizeType /*type*/, int width, int height) {
    m_dummy.m_width = width;
    m_dummy.m_height = height;
    m_dummy.m_right = width;
    m_dummy.m_bottom = height;
    m_dummy.m_frameWidth = width;
    m_dummy.m_frameHeight = height;
}

void CSkin_WinList::onPaint(plat::DeviceContext& dc) {
    const plat::Size size = clientSize();
    const plat::Font* previousFont = dc.selectFont(&m_dlg.m_font);
    dc.fillSolidRect(plat::Rect{0, 0, size.cx, size.cy}, 0xFFFFFF);
    m_dummy.m_contentHeight = m_list.GetCount() * m_lineHeight;
    m_dummy.DrawFrame(0, 0, size.cx, size.cy, dc);
    m_dummy.DrawScrollbars(dc, 0, 0);
    const int right = size.cx - qMax(kLinesLeft, m_dummy.m_rightInset);
    const plat::ColorRef previousColor = dc.setTextColor(kTextColor);
    const auto& items = m_list.Items();
    int index = m_dummy.m_scrollY / m_lineHeight;
    for (int top = kLinesTop; top < size.cy - m_lineHeight && index < items.size(); top += m_lineHeight) {
        const plat::Rect line{kLinesLeft, top, right, top + m_lineHeight};
        if (index == m_highlight)
            dc.fillSolidRect(line, kHighlightColor);
        if (index == m_focusIndex)
            DrawFocusDots(dc, line);
        // The text cell is as tall as the line: 1 px in from the sides only, so descenders stay whole.
        plat::Rect text = line.inflated(-1, 0);
        dc.drawText(items[index].text, text,
                    plat::kTextSingleLine | plat::kTextNoPrefix | plat::kTextEndEllipsis);
        ++index;
    }
    dc.setTextColor(previousColor);
    dc.selectFont(previousFont);
}

void CSkin_WinList::onLButtonDown(int x, int y) {
    m_held = true;
    m_heldAt = {x, y};
    m_dummy.OnMouse(x, y, skin::kMouseHeld);
    if (m_dummy.m_scrollMode != CSkinElement::kScrollNone)
        setTimer(kRepeatTimerId, skin::kTickMs);
}

void CSkin_WinList::onMouseMove(int x, int y) {
    m_heldAt = {x, y};
    // A thumb dragged with the button held goes on while the pointer moves.
    m_dummy.OnMouse(x, y, m_held ? skin::kMouseHeld : skin::kMouseMove);
    if (!InLines(x, y) || m_dummy.m_scrollMode != CSkinElement::kScrollNone)
        return;
    const int index = ItemAt(y);
    if (index >= 0 && index != m_highlight) {
        m_highlight = index;
        redrawNow();
    }
}

void CSkin_WinList::onLButtonUp(int x, int y) {
    const bool onBar = m_dummy.m_scrollMode != CSkinElement::kScrollNone;
    m_held = false;
    killTimer(kRepeatTimerId);
    m_dummy.OnMouse(x, y, skin::kMouseReleased);
    const plat::Size size = clientSize();
    if (x < 0 || y < 0 || x >= size.cx || y >= size.cy) {
        m_highlight = -1;
        m_list.ClosePopup();
        return;
    }
    if (onBar || !InLines(x, y))
        return;
    // The list may remove this popup while it handles its command: nothing here is used after the call.
    const int index = ItemAt(y);
    if (index >= 0)
        m_list.PickFromPopup(index);
    else
        m_list.ClosePopup();
}

bool CSkin_WinList::onMouseWheel(int /*delta*/, int /*x*/, int /*y*/) {
    return true;
}

void CSkin_WinList::onTimer(unsigned id) {
    if (id == kRepeatTimerId && m_held)
        m_dummy.OnMouse(m_heldAt.x, m_heldAt.y, skin::kMouseHeld);
}

bool CSkin_WinList::onKeyDown(int key, unsigned /*modifiers*/, bool /*autoRepeat*/) {
    if (key != plat::kKeyUp && key != plat::kKeyDown)
        return false;
    const int count = m_list.GetCount();
    if (count == 0)
        return true;
    const int next = qBound(0, m_highlight + (key == plat::kKeyUp ? -1 : 1), count - 1);
    m_highlight = next;
    m_list.SetCurSel(next, false);
    return true;
}

bool CSkin_WinList::onKeyUp(int key, unsigned /*modifiers*/, bool autoRepeat) {
    if (key != plat::kKeyEnter || autoRepeat)
        return false;
    if (m_highlight >= 0)
        m_list.PickFromPopup(m_highlight);
    else
        m_list.ClosePopup();
    return true;
}

void CSkin_WinList::onCancelPopup() {
    m_highlight = -1;
    m_list.ClosePopup();
}
