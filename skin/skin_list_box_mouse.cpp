// The report grid's answers to the mouse and the keyboard: hover, selection, sorting, filter buttons,
// column resizing and tooltips.

#include "platform/keys.h"
#include "platform/window.h"
#include "skin/element_handle.h"
#include "skin/host_window.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_list_box.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A press this close to the right of a column's end drags the column's width.
constexpr int kResizeZone = 15;
// The filter button answers within this distance of the column's end, low in the header.
constexpr int kFilterZone = 10;
constexpr int kFilterZoneHeight = 20;

} // namespace

QString CSkinListBox::FilterDialogTitle(const QString& columnTitle) {
    const qsizetype hint = columnTitle.indexOf(u'(');
    return u"<b>Filter</b>: "_s + (hint < 0 ? columnTitle : columnTitle.left(hint));
}

void CSkinListBox::HitTest(int x, int y, int state) {
    ClearHover();
    if (state == skin::kMouseMove) {
        m_tooltip.clear();
        // A resize starts only from the edge the pointer is on now, not from one it passed on the way.
        m_resizeColumn = -1;
    }
    if (y < kHeaderHeight) {
        const int cx = x + m_scrollX;
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const CSkinListBox_Column& c = m_columns[i];
            if (c.groupRole == CSkinListBox_Column::kGroupHead)
                continue;
            const int end = c.x + c.width;
            if (c.filterType != CSkinListBox_Column::kNoFilter && cx >= end - kFilterZone &&
                cx < end + kFilterZone && y > kHeaderHeight - kFilterZoneHeight) {
                m_hoverHeader = m_hoverFilter = static_cast<int>(i);
                m_tooltip = u"Filter column values..."_s;
            } else if (cx > c.x && cx < end) {
                m_hoverHeader = static_cast<int>(i);
            } else if (state == skin::kMouseMove && cx >= end && cx < end + kResizeZone) {
                m_resizeColumn = static_cast<int>(i);
                m_resizeX = x;
            }
        }
        if (m_resizeColumn >= 0 && m_pDlg)
            skin::HostWindow(*m_pDlg).setCursorShape(plat::CursorShape::SizeWE);
        return;
    }
    const int pitch = Pitch();
    for (std::size_t k = 0; k < m_lines.size(); ++k) {
        const CSkinListBox_Line& line = m_lines[k];
        if (line.y < y && y < line.y + pitch) {
            m_hoverLine = static_cast<int>(k);
            m_hoverCell = HitCell(line, x, y);
            return;
        }
    }
}

int CSkinListBox::HitCell(const CSkinListBox_Line& line, int x, int y) const {
    for (std::size_t k = 0; k < line.cells.size(); ++k) {
        const CSkinListBox_Item& cell = line.cells[k];
        if (cell.firstColumn < 0 || static_cast<std::size_t>(cell.lastColumn) >= m_columns.size())
            continue;
        const CSkinListBox_Column& column = m_columns[static_cast<std::size_t>(cell.firstColumn)];
        const plat::Rect area = m_wholeCellHits ? plat::Rect::fromXywh(column.x + line.x + kCellInset, line.y,
                                                                       cell.width, Pitch())
                                                : CellTextRect(line, cell);
        if (area.contains(x, y))
            return static_cast<int>(k);
    }
    return -1;
}

void CSkinListBox::RepaintHover(int previousLine, int previousCell, int previousHeader, int previousFilter) {
    if (previousHeader != m_hoverHeader || previousFilter != m_hoverFilter)
        Paint(true, true);
    if (previousLine != m_hoverLine || previousCell != m_hoverCell) {
        DrawLine(previousLine);
        if (m_hoverLine != previousLine)
            DrawLine(m_hoverLine);
    }
}

bool CSkinListBox::OnMouse(int x, int y, int state) {
    if (CSkinElement::OnMouse(x, y, state))
        return true;
    const bool overBars = (x > m_width - m_rightInset && y >= kHeaderHeight) || y > m_height - m_bottomInset;
    if (state == skin::kMouseRightRelease || (state != skin::kMouseHeld && overBars))
        return false;
    const int previousLine = m_hoverLine;
    const int previousCell = m_hoverCell;
    const int previousHeader = m_hoverHeader;
    const int previousFilter = m_hoverFilter;
    if (state == skin::kMouseHeld && m_resizeColumn >= 0) {
        CSkinListBox_Column& c = m_columns[static_cast<std::size_t>(m_resizeColumn)];
        // Narrower than its title the column stops; the edge picks the pointer up again on the way back.
        const int width = qMax(c.minWidth, c.width + (x - m_resizeX));
        if (width != c.width) {
            m_resizeX += width - c.width;
            c.width = width;
            Paint(true, false);
        }
        if (m_pDlg)
            skin::HostWindow(*m_pDlg).setCursorShape(plat::CursorShape::SizeWE);
    } else {
        HitTest(x, y, state);
    }
    if (state == skin::kMouseHeld) {
        m_pressLine = m_hoverLine;
        m_pressCell = m_hoverCell;
        m_pressHeader = m_hoverHeader;
    }
    RepaintHover(previousLine, previousCell, previousHeader, previousFilter);
    if (state == skin::kMouseHeld && m_hoverLine >= 0) {
        // A pressed link shows its pressed colour.
        DrawLine(m_hoverLine);
    }
    if (state == skin::kMouseReleased) {
        const skin::ElementHandle self(this);
        OnRelease(x, y);
        if (!self.Get())
            return false;
    }
    Redraw();
    return false;
}

void CSkinListBox::OnRelease(int x, int y) {
    // Report and owner code runs from here on and may remove the grid: the press is settled first, and the
    // grid is not touched again once it has gone.
    const bool onSameCell = m_pressLine == m_hoverLine && m_pressCell == m_hoverCell;
    const bool onSameHeader = m_pressHeader == m_hoverHeader && m_hoverHeader >= 0 &&
                              m_sortColumn != kSortOff && m_resizeColumn < 0;
    m_resizeColumn = -1;
    m_pressLine = -1;
    m_pressCell = -1;
    m_pressHeader = -2;
    const skin::ElementHandle self(this);
    if (onSameCell) {
        const CSkinListBox_Line* line = HoveredLine();
        if (!line) {
            if (y >= kHeaderHeight)
                ClearSelection();
        } else if (m_hoverCell >= 0 && line->cells[static_cast<std::size_t>(m_hoverCell)].linkId != 0) {
            OnItemClick(x, y);
        } else {
            ReleaseRow(*line, x, y);
        }
    }
    if (onSameHeader && self.Get())
        ReleaseHeader();
}

void CSkinListBox::ClearSelection() {
    if (std::none_of(m_selection.begin(), m_selection.end(), [](std::uint8_t s) { return s != 0; }))
        return;
    std::fill(m_selection.begin(), m_selection.end(), 0);
    m_orderDirty = true;
    NotifySelection();
}

void CSkinListBox::ReleaseRow(const CSkinListBox_Line& line, int x, int y) {
    const unsigned held = plat::KeyboardModifiers();
    const bool shift = (held & plat::kModShift) != 0;
    const bool ctrl = (held & plat::kModControl) != 0;
    const int item = line.item;
    if (!ctrl)
        std::fill(m_selection.begin(), m_selection.end(), 0);
    if (!shift)
        m_anchorItem = -1;
    const auto anchor =
        m_anchorItem < 0 ? m_order.end() : std::find(m_order.begin(), m_order.end(), m_anchorItem);
    if (shift && anchor != m_order.end()) {
        const std::size_t from = static_cast<std::size_t>(anchor - m_order.begin());
        const std::size_t to = static_cast<std::size_t>(line.row);
        for (std::size_t p = std::min(from, to); p <= std::max(from, to) && p < m_order.size(); ++p)
            SetSelection(m_order[p], !IsSelected(m_order[p]));
    } else {
        SetSelection(item, !IsSelected(item));
    }
    if (m_anchorItem < 0 || (ctrl && !shift))
        m_anchorItem = item;
    m_orderDirty = true;
    const skin::ElementHandle self(this);
    NotifySelection();
    if (self.Get())
        OnItemClick(x, y);
}

void CSkinListBox::ReleaseHeader() {
    const CSkinListBox_Column& c = m_columns[static_cast<std::size_t>(m_hoverHeader)];
    if (m_hoverFilter == m_hoverHeader) {
        const skin::ElementHandle self(this);
        RunFilterDialog(m_hoverHeader, c.x - m_scrollX + c.width + kColumnGap, kHeaderHeight,
                        FilterDialogTitle(c.title));
        if (self.Get())
            InvalidateContent();
        return;
    }
    if (c.id == m_sortColumn) {
        m_sortDirection = 1 - m_sortDirection;
    } else {
        // Ctrl keeps the column sorted so far as a key that decides before the new one.
        const bool keep =
            m_secondaryKeys && (plat::KeyboardModifiers() & plat::kModControl) != 0 && m_sortColumn >= 0;
        if (keep) {
            m_sortKeys.push_back(m_sortColumn);
            m_sortKeys.push_back(m_sortDirection);
        } else {
            m_sortKeys.clear();
        }
        m_sortColumn = c.id;
        m_sortDirection = 0;
    }
    m_orderDirty = true;
}

void CSkinListBox::OnMouseLeave() {
    const int previousLine = m_hoverLine;
    const int previousCell = m_hoverCell;
    const int previousHeader = m_hoverHeader;
    const int previousFilter = m_hoverFilter;
    ClearHover();
    m_resizeColumn = -1;
    if (m_ready)
        RepaintHover(previousLine, previousCell, previousHeader, previousFilter);
    CSkinElement::OnMouseLeave();
}

void CSkinListBox::OnRightClick(int x, int y) {
    OnContextMenu(x, y);
}

void CSkinListBox::OnKeyDown(int vk) {
    OnKey(vk);
}

bool CSkinListBox::CellTextFits(const CSkinListBox_Line& line, const CSkinListBox_Item& cell) const {
    if (!m_pDlg)
        return true;
    int textWidth = 0;
    switch (cell.kind) {
    case CSkinListBox_Item::kSmallText:
        textWidth = SmallFont().textExtent(cell.text).cx;
        break;
    case CSkinListBox_Item::kMarkup:
        textWidth = m_pDlg->MeasureMarkupText(cell.text).cx;
        break;
    case CSkinListBox_Item::kText:
    case CSkinListBox_Item::kLink:
    case CSkinListBox_Item::kLinkAlways:
    case CSkinListBox_Item::kText8:
    case CSkinListBox_Item::kText10:
        textWidth = CellFont().textExtent(cell.text).cx;
        break;
    default:
        // Bars, charts, marks and icons hold data, not words to read.
        return true;
    }
    const plat::Rect r = CellTextRect(line, cell);
    const CSkinListBox_Column& column = m_columns[static_cast<std::size_t>(cell.firstColumn)];
    // Markup runs on to the column's end; other text is cut at its rectangle.
    const int room = cell.kind == CSkinListBox_Item::kMarkup
                         ? column.x + line.x + kCellInset + cell.width - r.left
                         : r.width();
    return textWidth <= room;
}

bool CSkinListBox::GetToolTip(QString& text, plat::Rect* rect) {
    CSkinElement::GetToolTip(text, rect);
    const plat::Point at = GetDialogPos();
    if (m_hoverHeader >= 0 && static_cast<std::size_t>(m_hoverHeader) < m_columns.size()) {
        const CSkinListBox_Column& c = m_columns[static_cast<std::size_t>(m_hoverHeader)];
        const int left = c.x - m_scrollX;
        const int right = ColumnRight(c);
        plat::Rect area;
        if (!text.isEmpty()) {
            area = plat::Rect{right - 20, 0, right, kHeaderHeight};
        } else {
            text = c.tooltip;
            const int narrower = c.filterType != CSkinListBox_Column::kNoFilter ? 20 : 0;
            area = plat::Rect{left, 0, right - narrower, kHeaderHeight};
        }
        if (rect)
            *rect = area.translated(at.x, at.y);
    } else if (const CSkinListBox_Line* line = HoveredLine(); line && m_hoverCell >= 0) {
        const CSkinListBox_Item& cell = line->cells[static_cast<std::size_t>(m_hoverCell)];
        text = cell.tooltip;
        if (text.isEmpty() && !CellTextFits(*line, cell))
            text = cell.text;
        const plat::Rect r = CellTextRect(*line, cell);
        const int below = line->y + Pitch();
        if (rect)
            *rect = plat::Rect{r.left, below, r.right, below + Pitch()}.translated(at.x, at.y);
    }
    return !text.isEmpty();
}
