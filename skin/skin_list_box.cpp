#include "skin/skin_list_box.h"

#include "core/platform_services.h"
#include "skin/adaptive_merge_sort.h"
#include "skin/distribution_sort.h"
#include "skin/element_handle.h"
#include "skin/list_box_compare.h"
#include "skin/list_box_pieces.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_list_box_key_sort.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QtGlobal>
#include <algorithm>

using namespace Qt::StringLiterals;

CSkinListBox::CSkinListBox() {
    m_className = u"CSkinListBox"_s;
}

CSkinListBox::~CSkinListBox() = default;

bool CSkinListBox::IsItemVisible(int /*item*/) {
    return true;
}

void CSkinListBox::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    m_layoutDirty = true;
    CSkinElement::Create(holder, id, u""_s, u""_s, 0, u""_s);
    m_backDC.create(10, 10);
    if (m_pDlg)
        m_backDC.selectFont(&CellFont());
    m_columns.clear();
    m_itemCount = 0;
    m_linesPerItem = 1;
    m_visible = false;
    m_ready = true;
    // Key downs reach the report's OnKey while the grid has the focus.
    m_wantsKeys = true;
    if (m_pAtlasDC) {
        const plat::Point key = skin::list_box_pieces::kFilterButton[0][0].topLeft();
        m_keyed.SetKey(m_pAtlasDC->getPixel(key.x, key.y));
    }
}

void CSkinListBox::UpdateItemCount() {
    const int total = qMax(0, m_itemCount);
    // A paint only asks for the count: the order it paints stays until something it depends on changed.
    const bool asked = !m_rebuildOnDemand && !m_painting;
    if (asked || m_orderDirty || total != m_totalCount) {
        m_orderDirty = false;
        const std::size_t before = m_selection.size();
        m_totalCount = total;
        m_selection.resize(static_cast<std::size_t>(total), 0);
        BuildOrder();
        if (m_hoverLine >= VisibleCount())
            ClearHover();
        AfterOrderBuilt();
        m_selection.resize(static_cast<std::size_t>(total), 0);
        if (m_selection.size() != before) {
            if (m_painting)
                QueueSelectionNotice();
            else
                NotifySelection();
        }
    }
}

void CSkinListBox::BuildOrder() {
    const std::size_t total = static_cast<std::size_t>(m_totalCount);
    // 1 visible, 2 visible and already placed; a report whose rows only its filters hide shows all of them
    // while no filter is on.
    std::vector<std::uint8_t> shown(total, 1);
    const bool anyFilter = std::any_of(m_columns.begin(), m_columns.end(),
                                       [](const CSkinListBox_Column& c) { return c.filterOn; });
    if (!m_visibilityByFiltersOnly || anyFilter)
        for (std::size_t item = 0; item < total; ++item)
            shown[item] = IsItemVisible(static_cast<int>(item)) ? 1 : 0;
    const bool descending = m_sortDirection == 1;
    // The report's keys describe the sort column alone.
    if (Chained() || !SortByKeys(shown, descending))
        SortByComparisons(shown, descending);
    // An order under secondary keys is no starting point for the next one: its equal items are not in item
    // order.
    m_sortedColumn = Chained() ? std::numeric_limits<int>::min() : m_sortColumn;
    m_sortedDirection = m_sortDirection;
    if (m_order.size() > static_cast<std::size_t>(kMaxRowCount))
        m_order.resize(static_cast<std::size_t>(kMaxRowCount));
}

void CSkinListBox::SortByComparisons(std::vector<std::uint8_t>& shown, bool descending) {
    const std::size_t total = shown.size();
    // Under the same sort column the last order is nearly right (reversed, when only the direction changed):
    // it is the starting point. Otherwise items start in item order, which keeps their records together.
    std::vector<int> next;
    next.reserve(total);
    bool sorted = false;
    const bool chained = Chained();
    if (m_sortedColumn == m_sortColumn && !chained) {
        const auto take = [&](int item) {
            if (item >= 0 && static_cast<std::size_t>(item) < total &&
                shown[static_cast<std::size_t>(item)] == 1) {
                shown[static_cast<std::size_t>(item)] = 2;
                next.push_back(item);
            }
        };
        if (m_sortedDirection == m_sortDirection) {
            std::for_each(m_order.begin(), m_order.end(), take);
        } else {
            std::for_each(m_order.rbegin(), m_order.rend(), take);
            sorted = PutEqualItemsInItemOrder(next, descending);
        }
    }
    const std::size_t seeded = next.size();
    for (std::size_t item = 0; item < total; ++item)
        if (shown[item] == 1)
            next.push_back(static_cast<int>(item));
    m_order.swap(next);
    if (sorted && m_order.size() == seeded)
        return;
    // Equal items keep their item order in both directions, whatever order they started in.
    const auto less = [this, descending, chained](int a, int b) {
        if (chained) {
            const int r = CompareChained(a, b);
            return r < 0 || (r == 0 && a < b);
        }
        const int r = CompareItems(a, b);
        return (descending ? r > 0 : r < 0) || (r == 0 && a < b);
    };
    // A seeded order is nearly right, which the merge sort finds out in about one comparison per item; items
    // in item order are distributed first, which reads their records in the order they lie in.
    if (seeded > 0)
        skin::AdaptiveMergeSort(m_order, less);
    else
        skin::DistributionSort(m_order, less);
}

int CSkinListBox::CompareChained(int a, int b) {
    // Reports read the column and direction to compare under from the grid, so each key is made the sort
    // column in turn.
    const int column = m_sortColumn;
    const int direction = m_sortDirection;
    const auto compare = [this, a, b](int keyColumn, int keyDirection) {
        m_sortColumn = keyColumn;
        m_sortDirection = keyDirection == 1 ? 1 : 0;
        const int r = CompareItems(a, b);
        return m_sortDirection == 1 ? (r > 0 ? -1 : r < 0 ? 1 : 0) : r;
    };
    int r = 0;
    for (std::size_t k = 0; r == 0 && k + 1 < m_sortKeys.size(); k += 2)
        r = compare(m_sortKeys[k], m_sortKeys[k + 1]);
    if (r == 0)
        r = compare(column, direction);
    m_sortColumn = column;
    m_sortDirection = direction;
    return r;
}

bool CSkinListBox::SortByKeys(const std::vector<std::uint8_t>& shown, bool descending) {
    std::vector<int> items;
    CSkinListBox_SortKey first;
    std::vector<std::uint32_t> ranks;
    std::vector<const QString*> texts;
    for (std::size_t at = 0; at < shown.size(); ++at) {
        if (shown[at] == 0)
            continue;
        const int item = static_cast<int>(at);
        CSkinListBox_SortKey key;
        if (!GetSortKey(item, key) || key.kind == CSkinListBox_SortKey::kNone)
            return false;
        if (items.empty()) {
            first = key;
            items.reserve(shown.size());
        } else if (key.kind != first.kind || key.invert != first.invert) {
            return false;
        }
        switch (key.kind) {
        case CSkinListBox_SortKey::kInt:
            ranks.push_back(skin::IntSortRank(key.intValue, key.invert, descending));
            break;
        case CSkinListBox_SortKey::kFloat:
            ranks.push_back(skin::FloatSortRank(key.floatValue, key.invert, descending));
            break;
        default:
            if (!key.text)
                return false;
            texts.push_back(key.text);
            break;
        }
        items.push_back(item);
    }
    if (first.kind == CSkinListBox_SortKey::kText) {
        if (!skin::SortByTexts(items, texts, descending))
            return false;
    } else {
        skin::SortByRanks(items, ranks);
    }
    m_order.swap(items);
    return true;
}

bool CSkinListBox::PutEqualItemsInItemOrder(std::vector<int>& order, bool descending) {
    bool inOrder = true;
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i + 1;
        for (; j < order.size(); ++j) {
            const int r = CompareItems(order[j - 1], order[j]);
            if (r != 0) {
                inOrder = inOrder && (descending ? r > 0 : r < 0);
                break;
            }
        }
        std::reverse(order.begin() + static_cast<std::ptrdiff_t>(i),
                     order.begin() + static_cast<std::ptrdiff_t>(j));
        i = j;
    }
    return inOrder;
}

void CSkinListBox::InvalidateContent() {
    ++m_changeCount;
    m_orderDirty = true;
    if (m_ready)
        Redraw();
}

void CSkinListBox::NotifySelection() {
    if (!m_selectCommand.isEmpty() && m_owner)
        m_owner(m_selectCommand, IsAllSelected() ? 1 : 0, m_pDlg);
}

void CSkinListBox::QueueSelectionNotice() {
    QCoreApplication* app = QCoreApplication::instance();
    if (m_noticeQueued || !app || m_selectCommand.isEmpty() || !m_owner)
        return;
    m_noticeQueued = true;
    QMetaObject::invokeMethod(
        app,
        [self = skin::ElementHandle(this)] {
            if (auto* grid = static_cast<CSkinListBox*>(self.Get())) {
                grid->m_noticeQueued = false;
                grid->NotifySelection();
            }
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------------------------------------------
// Cells

int CSkinListBox::FindColumnByScan(int id) const {
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].id == id)
            return static_cast<int>(i);
    return -1;
}

int CSkinListBox::SpanWidth(int first, int last) const {
    int width = -kColumnGap;
    for (int i = first; i <= last; ++i)
        if (m_columns[static_cast<std::size_t>(i)].groupRole != CSkinListBox_Column::kGroupHead)
            width += m_columns[static_cast<std::size_t>(i)].width + kColumnGap;
    return qMax(0, width);
}

int CSkinListBox::AddCell(CSkinListBox_Line& line, const QString& text, int dx, int dy, int columnId,
                          int maxWidth, int kind, int linkId, int align, plat::ColorRef color,
                          const QString& tooltip) {
    const int column = FindColumn(columnId);
    if (column < 0)
        return dx;
    return AddSpan(line, text, dx, dy, column, column, maxWidth, kind, linkId, align, color, tooltip);
}

int CSkinListBox::AddLineMessage(CSkinListBox_Line& line, const QString& text, int dx, int dy,
                                 int firstColumnId, int lastColumnId, int maxWidth, int kind, int linkId,
                                 int align, plat::ColorRef color, const QString& tooltip) {
    const int first = FindColumn(firstColumnId);
    const int last = lastColumnId == -1 ? static_cast<int>(m_columns.size()) - 1 : FindColumn(lastColumnId);
    if (first < 0 || last < first)
        return dx;
    return AddSpan(line, text, dx, dy, first, last, maxWidth, kind, linkId, align, color, tooltip);
}

int CSkinListBox::AddSpan(CSkinListBox_Line& line, const QString& text, int dx, int dy, int first, int last,
                          int maxWidth, int kind, int linkId, int align, plat::ColorRef color,
                          const QString& tooltip) {
    const int width = SpanWidth(first, last);
    CSkinListBox_Item cell;
    cell.kind = kind;
    cell.linkId = linkId;
    cell.firstColumn = first;
    cell.lastColumn = last;
    cell.align = align;
    cell.color = color;
    cell.width = width;
    cell.text = text;
    cell.tooltip = tooltip;
    const int left = dx < 0 ? width + dx : dx;
    if (line.textsOnly) {
        cell.rect = plat::Rect{left, dy, left, dy};
        line.cells.push_back(std::move(cell));
        return left;
    }
    const plat::Size extent = kind == CSkinListBox_Item::kIcon ? skin::list_box_pieces::kCellIcon.size()
                                                               : m_backDC.getTextExtent(text);
    const int limit = qMin(width, maxWidth >= 1 ? maxWidth : width + maxWidth);
    const int top = (m_lineHeight - extent.cy) / 2 + dy;
    cell.rect = plat::Rect{left, top, left + qMax(0, qMin(extent.cx, limit - left)), top + extent.cy};
    line.cells.push_back(std::move(cell));
    return line.cells.back().rect.right;
}

void CSkinListBox::CopyAllToClipboard() {
    UpdateItemCount();
    QString text;
    CSkinListBox_Line line;
    line.textsOnly = true;
    for (int row = 0; row < VisibleCount(); ++row) {
        InitLine(row, 0, 0, line);
        GetItemText(line);
        if (!line.rowFlag)
            continue;
        QStringList cells;
        for (std::size_t column = 0; column < m_columns.size(); ++column) {
            // A group head is a title over its members and holds no cells.
            if (m_columns[column].groupRole == CSkinListBox_Column::kGroupHead)
                continue;
            const auto cell = std::find_if(line.cells.begin(), line.cells.end(), [column](const auto& c) {
                return c.firstColumn == static_cast<int>(column);
            });
            cells.append(cell == line.cells.end() ? QString() : cell->text);
        }
        text += cells.join(u'\t') + u'\n';
    }
    // Nothing to copy leaves the clipboard as it was.
    if (!text.isEmpty())
        CopyTextToClipboard(text);
}

void CSkinListBox::SerializeFilters(const CDownloader_HTMLTags* /*node*/) {}

// ---------------------------------------------------------------------------------------------------------------
// Comparisons

int CSkinListBox::CompareNumberText(const QString& a, const QString& b, bool numeric,
                                    const QString& trimChars, QChar separator) const {
    return CompareNumberTexts(a, b, numeric, trimChars, separator, m_sortDirection == 1);
}

void CSkinListBox::ComputeColumnGroups() {
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].groupRole != CSkinListBox_Column::kGroupHead)
            continue;
        int members = 0;
        for (std::size_t j = i + 1;
             j < m_columns.size() && m_columns[j].groupRole == CSkinListBox_Column::kGroupMember; ++j)
            ++members;
        m_columns[i].memberCount = members;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Selection

void CSkinListBox::SelectRange(int first, int last) {
    // Item indices run over the report's whole count, hidden items included.
    const int total = m_totalCount;
    if (first < 0)
        first += total;
    if (last < 0)
        last += total;
    first = qMax(0, first);
    last = qMin(total - 1, last);
    // An empty range selects nothing, and that too is a change of selection the owner hears of.
    std::fill(m_selection.begin(), m_selection.end(), 0);
    if (first <= last)
        std::fill(m_selection.begin() + first, m_selection.begin() + last + 1, 1);
    m_orderDirty = true;
    const skin::ElementHandle self(this);
    NotifySelection();
    if (self.Get())
        Redraw();
}

void CSkinListBox::SelectAllVisible() {
    std::fill(m_selection.begin(), m_selection.end(), 0);
    for (const int item : m_order)
        SetSelection(item, true);
    m_orderDirty = true;
    const skin::ElementHandle self(this);
    NotifySelection();
    if (self.Get())
        Redraw();
}

void CSkinListBox::SetSelection(int item, bool selected) {
    if (item >= 0 && static_cast<std::size_t>(item) < m_selection.size())
        m_selection[static_cast<std::size_t>(item)] = selected ? 1 : 0;
}

bool CSkinListBox::IsSelected(int item) const {
    return item >= 0 && static_cast<std::size_t>(item) < m_selection.size() &&
           m_selection[static_cast<std::size_t>(item)] != 0;
}

int CSkinListBox::GetSingleSelection() const {
    int found = -1;
    for (const int item : m_order) {
        if (IsSelected(item)) {
            if (found >= 0)
                return -2;
            found = item;
        }
    }
    return found;
}

bool CSkinListBox::IsAllSelected() const {
    return !m_order.empty() &&
           std::all_of(
               m_order.begin(), m_order.end(), [this](int item) { return IsSelected(item); });
}

// ---------------------------------------------------------------------------------------------------------------
// Lines

void CSkinListBox::InitLine(int row, int scrollX, int y, CSkinListBox_Line& line) const {
    if (row < 0 || row >= VisibleCount())
        qFatal("CSkinListBox::InitLine: row %d outside the %d visible rows", row, VisibleCount());
    line.row = row;
    line.item = m_order[static_cast<std::size_t>(row)];
    line.x = -scrollX;
    line.y = y;
    line.rowFlag = false;
    line.textColor = CSkinListBox_Line::kTextColor;
    line.background = CSkinListBox_Line::kBackground;
    line.hoverBackground = CSkinListBox_Line::kHoverBackground;
    line.cells.clear();
}

const CSkinListBox_Line* CSkinListBox::HoveredLine() const {
    if (m_hoverLine < 0 || static_cast<std::size_t>(m_hoverLine) >= m_lines.size())
        return nullptr;
    return &m_lines[static_cast<std::size_t>(m_hoverLine)];
}

void CSkinListBox::ClearHover() {
    m_hoverLine = -1;
    m_hoverCell = -1;
    m_hoverHeader = -1;
    m_hoverFilter = -1;
}

std::size_t CSkinListBox::ContainerBytes() const {
    std::size_t bytes = m_order.capacity() * sizeof(int) + m_selection.capacity() +
                        m_columns.capacity() * sizeof(CSkinListBox_Column) +
                        m_lines.capacity() * sizeof(CSkinListBox_Line);
    for (const CSkinListBox_Line& line : m_lines)
        bytes += line.cells.capacity() * sizeof(CSkinListBox_Item);
    return bytes;
}
