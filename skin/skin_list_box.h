#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "skin/keyed_pictures.h"
#include "skin/list_box_compare.h"
#include "skin/skin_element.h"
#include "skin/skin_list_box_column.h"
#include "skin/skin_list_box_item.h"
#include "skin/skin_list_box_line.h"
#include "skin/skin_list_box_sort_key.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

class CDownloader_HTMLTags;
class CSkinDlg_Base;
class CSkinDlgHolder;

// The report grid every project report derives from: an owner-drawn, sortable, filterable, multi-select
// table. The grid owns no records: the report says how many items there are, whether one is visible, how two
// compare under the current sort column and what the cells of one row are. The grid keeps the columns, the
// visible order, the selection (by item index, so it survives sorting and filtering) and the few lines that
// fit in its window, and tells its owner when the selection changed.
//
// The visible order is rebuilt only when something it depends on changed: the content (InvalidateContent, or
// Rebuild called by a report that changed values in place), the item count, the sort, a filter or the
// selection. Scrolling, hovering and resizing only repaint.
class CSkinListBox : public CSkinElement {
  public:
    // Receives the selection-changed command with 1 when every visible item is selected, else 0, and the
    // grid's dialog.
    using Owner = std::function<void(const QString& command, int param, CSkinDlg_Base* dialog)>;

    CSkinListBox();
    ~CSkinListBox() override;

    // ---- What a report supplies.
    // Negative, 0 or positive in the ascending sense, under the current sort column.
    virtual int CompareItems(int a, int b) = 0;
    // Optional: the sort column's value of item as a typed key (see CSkinListBox_SortKey), false when the
    // column's order needs CompareItems. Asked once per visible item for each sort.
    virtual bool GetSortKey(int /*item*/, CSkinListBox_SortKey& /*key*/) { return false; }
    virtual bool IsItemVisible(int item);
    // ---- Column filters, for IsItemVisible. Each test passes the value when no column has the id, when the
    // column's filter is off, or when its type is not one the test handles (text 1 to 5, int 6, float 7).
    // Position of the first acceptable occurrence of a text filter's pattern in text, ignoring case (see
    // skin::WildcardPattern); -1 when none.
    virtual int MatchWildcard(const QString& text, const QString& pattern);
    virtual bool FilterAcceptsFloat(int columnId, float v);
    virtual bool FilterAcceptsInt(int columnId, int v);
    virtual bool FilterAcceptsText(int columnId, const QString& text);
    // Creates the grid in holder with no columns; the report then fills m_columns.
    virtual void SetupColumns(CSkinDlgHolder* holder, unsigned id);
    // A report sets m_itemCount to its record count, then calls this. The count stays the report's (item
    // indices run over all of it); VisibleCount is what the filters left.
    virtual void UpdateItemCount();
    virtual void AfterOrderBuilt() {}
    // Fills the cells of line.item with AddCell / AddLineMessage and sets the line's colours and row flag.
    virtual void GetItemText(CSkinListBox_Line& line) = 0;
    // A question about one cell that a report may answer; the grid itself never asks it.
    virtual bool QueryItem(int /*item*/, int /*columnId*/, int /*what*/) { return false; }
    // A release on a link cell or a row; HoveredLine and HoverCell say which.
    virtual void OnItemClick(int /*x*/, int /*y*/) {}
    // The right button was released over the grid: the report opens its popup menu here.
    virtual void OnContextMenu(int /*x*/, int /*y*/) {}
    // Key downs while the grid has the focus; true when the report used the key.
    virtual bool OnKey(int /*vk*/) { return false; }
    // Asked before a column's filter dialog is built: its label texts and, for value lists, the values.
    virtual void GetFilterInfo(CSkinListBox_Column* /*column*/, QStringList& /*labels*/) {}
    virtual void InvalidateContent();

    // ---- Element.
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void OnPositionChanged() override;
    void OnMouseLeave() override;
    bool OnMouse(int x, int y, int state) override;
    void OnRightClick(int x, int y) override;
    void OnKeyDown(int vk) override;
    bool GetToolTip(QString& text, plat::Rect* rect) override;

    // ---- Cells. dx < 0 places the cell from the column's right end; maxWidth >= 1 limits its right edge,
    // else the column's width + maxWidth does. Answers the cell's right edge (dx when no column has the id).
    int AddCell(CSkinListBox_Line& line, const QString& text, int dx, int dy, int columnId, int maxWidth,
                int kind = CSkinListBox_Item::kText, int linkId = 0, int align = 1,
                plat::ColorRef color = CSkinListBox_Item::kLineColor, const QString& tooltip = QString());
    // One cell spanning the named columns (lastColumnId -1: to the last column), for row-wide messages.
    int AddLineMessage(CSkinListBox_Line& line, const QString& text, int dx, int dy, int firstColumnId,
                       int lastColumnId, int maxWidth, int kind = CSkinListBox_Item::kText, int linkId = 0,
                       int align = 1, plat::ColorRef color = CSkinListBox_Item::kLineColor,
                       const QString& tooltip = QString());

    // ---- Comparisons for CompareItems, in the current sort direction (list_box_compare.h).
    int CompareInt(int a, int b, bool invert = false) const {
        return CompareIntValues(a, b, invert, m_sortDirection == 1);
    }
    int CompareFloat(float a, float b, bool invert = false) const {
        return CompareFloatValues(a, b, invert, m_sortDirection == 1);
    }
    int CompareNumberText(const QString& a, const QString& b, bool numeric, const QString& trimChars,
                          QChar separator) const;

    // Counts the member columns following each group head.
    void ComputeColumnGroups();

    // The grid's own normal, bold and small bold fonts, made from one face, in place of the dialog's. Column
    // widths the report gave for the dialog's font grow or shrink with the new font's width, the titles are
    // measured again and the lines grow to fit the text.
    void SetListFont(const QString& face, int height);
    // How much wider the grid's font sets text than the dialog's (1 while the grid has no font of its own).
    float FontScale() const { return m_fontScale; }

    // Every visible row that the report flagged as holding data onto the clipboard: per column the text of
    // the cell that starts in it, columns separated by a tab, one line per row.
    void CopyAllToClipboard();
    // Filters are not kept in project files: the kinds hand their filters node here when they load and save,
    // and nothing is read from it or written to it.
    void SerializeFilters(const CDownloader_HTMLTags* node);

    // ---- Selection, by item index.
    // Selects items first..last and clears the others; a negative index counts from the end (-1 is the last
    // item). A range empty once clipped to the items clears them all. Either way the owner hears of it.
    void SelectRange(int first, int last);
    // Ctrl+A: selects the visible items and clears the hidden ones.
    void SelectAllVisible();
    // -1 when no visible item is selected, the item when exactly one is, -2 for more.
    int GetSingleSelection() const;
    bool IsAllSelected() const;
    bool IsSelected(int item) const;

    // Starts a line for visible position row (as the export and copy code read rows).
    void InitLine(int row, int scrollX, int y, CSkinListBox_Line& line) const;
    // Repaints into the back buffer; a report that changed its records in place calls it, which also
    // rebuilds the order. headerOnly repaints the header alone.
    void Rebuild(bool noRedraw = false, bool headerOnly = false);
    void DrawLine(int lineIndex);

    // The filter dialog's title for a column: its title up to the first "(" hint.
    static QString FilterDialogTitle(const QString& columnTitle);

    // ---- State for reports and tests.
    int VisibleCount() const { return static_cast<int>(m_order.size()); }
    const std::vector<int>& Order() const { return m_order; }
    const std::vector<CSkinListBox_Line>& Lines() const { return m_lines; }
    // The line under the pointer, or null.
    const CSkinListBox_Line* HoveredLine() const;
    int HoverCell() const { return m_hoverCell; }
    // Height of one row: the line height times the lines per item.
    int Pitch() const { return m_lineHeight * m_linesPerItem; }
    // The rows shown whole between the header and the bottom (or the horizontal scrollbar), as last painted.
    int WholeRowsShown() const;
    // The height at which the grid shows rows whole rows under its header with a horizontal scrollbar
    // below them, measured in its font before it was ever painted: what a pane holding it keeps at least.
    int HeightForRows(int rows) const;
    const plat::DeviceContext& BackBuffer() const { return m_backDC; }
    // Bytes the grid's own containers hold (their capacities), without the report's records.
    std::size_t ContainerBytes() const;

    static constexpr int kHeaderHeight = 31;
    static constexpr int kDefaultLineHeight = 15;
    static constexpr int kNoSort = -1;
    static constexpr int kSortOff = -2; // header clicks do nothing
    static constexpr int kMaxRowCount = 2147483597;
    // Every column takes its width plus this; cell content starts half of it inside.
    static constexpr int kColumnGap = 10;
    static constexpr int kCellInset = 5;

    std::vector<CSkinListBox_Column> m_columns;
    int m_itemCount = 0;
    int m_sortColumn = kNoSort; // a column id
    int m_sortDirection = 0;    // 0 ascending, 1 descending
    int m_linesPerItem = 1;
    // Hit areas of cells are their whole column (reports set it), else their text.
    bool m_wholeCellHits = false;
    // A report whose IsItemVisible only applies the column filters sets this, so that the grid skips the
    // test while no filter is on.
    bool m_visibilityByFiltersOnly = false;
    // Off, every UpdateItemCount a report calls rebuilds the order, so values changed in place are sorted
    // again; on, only a change the grid knows of (content invalidated, sort, filter, selection, item count)
    // does. Painting never rebuilds an order whose inputs did not change.
    bool m_rebuildOnDemand = false;
    // Words marked in the cells of columns with the highlight flag, where a cell holds every one of them
    // (letters and digits compared without case). A report that changes them invalidates the content.
    QStringList m_highlightWords;
    // With secondary keys on, a Ctrl+click on another column's header keeps the previous sort column as a key
    // that decides first: m_sortKeys holds (column id, direction) pairs, consulted in order before the sort
    // column. A plain click on another column empties the list.
    bool m_secondaryKeys = false;
    std::vector<int> m_sortKeys;
    QString m_selectCommand;
    Owner m_owner;

  protected:
    void NotifySelection();
    // A rebuild during painting changed the selection: the owner hears of it once the event loop runs again,
    // never from inside the paint (it may rebuild, resize or delete the grid).
    void QueueSelectionNotice();
    // The filter button of column index was released: the filter dialog opens at (x, y) in the grid's
    // coordinates with the title. The content is invalidated afterwards.
    virtual void RunFilterDialog(int column, int x, int y, const QString& title);

    // Item indices in display order; AfterOrderBuilt may rewrite it.
    std::vector<int> m_order;

  private:
    std::vector<std::uint8_t> m_selection; // by item index
    // Internal repaint: never rebuilds the order unless it is dirty.
    void Paint(bool noRedraw, bool headerOnly);
    void PaintHeader();
    void PaintBody();
    void LayoutColumns(int availableWidth);
    void DrawCell(const CSkinListBox_Line& line, int lineIndex, int cellIndex);
    // Where a cell's text lies in the back buffer, placed by its alignment and cut at its column's end.
    plat::Rect CellTextRect(const CSkinListBox_Line& line, const CSkinListBox_Item& cell) const;
    // The rows' area: inside the frame, below the header, clear of the scrollbars.
    plat::Rect BodyClip() const;
    void BuildOrder();
    // Sorts the visible items (shown: 1 visible) by the report's sort keys; false, leaving the order as it
    // was, when the report has none for the sort column.
    bool SortByKeys(const std::vector<std::uint8_t>& shown, bool descending);
    // Sorts them with CompareItems, starting from the last order when the sort column is the same.
    void SortByComparisons(std::vector<std::uint8_t>& shown, bool descending);
    // An order reversed for the other direction has each group of equal items reversed too: turns them back
    // into item order, and answers whether the order needs no sorting beyond that.
    bool PutEqualItemsInItemOrder(std::vector<int>& order, bool descending);
    void ClearHover();
    // Whether the secondary keys take part in the order.
    bool Chained() const { return m_secondaryKeys && m_sortKeys.size() >= 2; }
    // a against b under the secondary keys and then the sort column, each in its own direction: negative when
    // a comes first.
    int CompareChained(int a, int b);
    // Yellow boxes behind each highlight word in a cell that holds them all.
    void DrawHighlights(const CSkinListBox_Item& cell, const plat::Rect& textRect, const plat::Font& font);
    // Reports mostly number their columns in order, so the filter tests of every row find them at once.
    int FindColumn(int id) const {
        const auto at = static_cast<std::size_t>(id);
        return id >= 0 && at < m_columns.size() && m_columns[at].id == id ? id : FindColumnByScan(id);
    }
    int FindColumnByScan(int id) const;
    // The column with that id when its filter is on and of a type from firstType to lastType, else null.
    CSkinListBox_Column* ActiveFilter(int columnId, int firstType, int lastType) {
        const int index = FindColumn(columnId);
        if (index < 0)
            return nullptr;
        CSkinListBox_Column& c = m_columns[static_cast<std::size_t>(index)];
        return c.filterOn && c.filterType >= firstType && c.filterType <= lastType ? &c : nullptr;
    }
    int AddSpan(CSkinListBox_Line& line, const QString& text, int dx, int dy, int first, int last,
                int maxWidth, int kind, int linkId, int align, plat::ColorRef color, const QString& tooltip);
    int SpanWidth(int first, int last) const;
    // Hover from a pointer position: header column, filter button, resize edge, or line and cell.
    void HitTest(int x, int y, int state);
    // Repaints what a changed hover shows: the header, the line left and the line entered.
    void RepaintHover(int previousLine, int previousCell, int previousHeader, int previousFilter);
    int HitCell(const CSkinListBox_Line& line, int x, int y) const;
    void OnRelease(int x, int y);
    void ReleaseRow(const CSkinListBox_Line& line, int x, int y);
    void ReleaseHeader();
    // Clears every selection flag; the owner hears of it only when one was set.
    void ClearSelection();
    // Whether a cell shows all of its text (a cut text offers itself as the tooltip).
    bool CellTextFits(const CSkinListBox_Line& line, const CSkinListBox_Item& cell) const;
    void SetSelection(int item, bool selected);
    int ColumnRight(const CSkinListBox_Column& column) const;
    const plat::Font& CellFont() const;
    // The line height the cell font asks for, never below the set one.
    int MeasuredLineHeight() const;
    const plat::Font& BoldFont() const;
    const plat::Font& SmallFont() const;

    // The grid's own fonts (SetListFont); the back buffer may have one of them selected, so they live longer.
    std::optional<plat::Font> m_listFont;
    std::optional<plat::Font> m_listFontBold;
    std::optional<plat::Font> m_listFontSmall;
    plat::DeviceContext m_backDC;
    skin::KeyedPictures m_keyed;
    int m_lineHeight = kDefaultLineHeight;
    int m_hoverLine = -1;
    int m_hoverCell = -1;
    int m_hoverHeader = -1;
    int m_hoverFilter = -1;
    int m_pressLine = -1;
    int m_pressCell = -1;
    int m_pressHeader = -2; // -2 before the first press
    int m_resizeColumn = -1;
    int m_resizeX = 0;
    int m_anchorItem = -1; // the item a Shift-click range starts from
    bool m_layoutDirty = true;
    // The fonts changed since the column titles were measured.
    bool m_measureTitlesAgain = false;
    float m_fontScale = 1.0f;
    bool m_ready = false;
    bool m_orderDirty = true;
    // UpdateItemCount runs inside Paint; a notice then is queued.
    bool m_painting = false;
    bool m_noticeQueued = false;
    // The sort key the order was last built under.
    int m_sortedColumn = std::numeric_limits<int>::min(); // none yet
    int m_sortedDirection = 0;
    int m_totalCount = 0;
    std::vector<CSkinListBox_Line> m_lines;
};
