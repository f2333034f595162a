#pragma once

#include "skin/context_menu.h"
#include "skin/skin_list_box.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class CDownloader_HTMLTags;
class CFailedTasks;

// The base of every kind's report grid: column set-up, the cell texts of numbers with their no-data values,
// the selection colours, and the context menu: "Copy" (the selected visible rows as tab-separated text) and,
// in keyword reports, "Send to <kind name>" for every other kind that takes keywords, through the main
// window's "new_project<d><kw>;<kw>;" command.
class CKindReport : public CSkinListBox {
  public:
    // kind: the owning project's kind; index tells the project's reports apart in the copy command
    // "prj<kind>_copy".
    CKindReport(int kind, int index);

    // The keyword a row stands for, offered to the other kinds; empty (the default) in reports that do not
    // list keywords.
    virtual QString ItemKeyword(int /*item*/) const { return {}; }

    // The sort column's key of item, for the columns the report gave a key (SetIntKey and the like).
    bool GetSortKey(int item, CSkinListBox_SortKey& key) override;
    void OnContextMenu(int x, int y) override;
    // The filter dialog's labels and, for the value-list filters, every value the column holds.
    void GetFilterInfo(CSkinListBox_Column* column, QStringList& labels) override;
    // The menu for the current selection: "Copy", then the send-to items when the selected rows have
    // keywords.
    std::vector<skin::ContextMenuItem> ContextMenuItems() const;
    // The single selected item below the project's element, and selected again from there once the
    // records are back (its owner then shows what belongs to it).
    void SaveSelection(CDownloader_HTMLTags* root);
    void LoadSelection(const CDownloader_HTMLTags* root);
    // The copy command of this report; true when the command was it (the rows are then on the clipboard).
    bool OnCommand(const QString& command, int param);
    // The exported cells of the selected visible rows, tab-separated, one row a line (CR LF).
    QString SelectedRowsText();
    // The same of every visible row, in the shown order.
    QString VisibleRowsText();
    // The keywords of the selected visible rows in their shown order, without empty ones.
    QStringList SelectedKeywords() const;

    // Numbers as cells show them: not asked (task_value) empty, any other negative value "No Data".
    static QString IntText(int value);
    static QString FloatText(float value, bool trimZeros = true);
    // The text a column of addresses or lists hands to its text filter: every character that is neither a
    // letter nor a digit becomes a blank, so that the filter's words find the host names, path parts and list
    // entries in it (a filter word only matches between blanks).
    static QString FilterWords(const QString& text);
    static inline const QString kNoData = QStringLiteral("No Data");

    const QString& CopyCommand() const { return m_copyCommand; }
    int Index() const { return m_index; }

  protected:
    void AddColumn(int id, const QString& title, int width, int headerAlign = 2,
                   int filterType = CSkinListBox_Column::kNoFilter);
    // Cells of one line: text left-aligned, numbers right-aligned.
    void AddTextCell(CSkinListBox_Line& line, const QString& text, int columnId,
                     int kind = CSkinListBox_Item::kText, int linkId = 0);
    void AddNumberCell(CSkinListBox_Line& line, const QString& text, int columnId);
    // The cell of one task of a record: its text, or, when the record's mark says the task failed,
    // "Failed" set apart in kFailedColor with the error as its tooltip. The value behind it stays no data,
    // so the cell sorts and filters as no data.
    void AddTaskCell(CSkinListBox_Line& line, const QString& text, int columnId, const CFailedTasks& failed,
                     int task, int align = 3, plat::ColorRef color = CSkinListBox_Item::kLineColor);
    // Marks the line as a data row and colours it when selected.
    void FinishLine(CSkinListBox_Line& line) const;

    // Columns whose rows compare exactly as CompareInt or CompareFloat of a value, or as the case-sensitive
    // order of a kept text: the report gives the value of an item once, and the grid sorts a large report on
    // these keys without asking CompareItems pair by pair.
    void SetIntKey(int columnId, std::function<int(int item)> value, bool invert = false);
    void SetFloatKey(int columnId, std::function<float(int item)> value);
    // The text must stay in place (a record's member) while the grid sorts.
    void SetTextKey(int columnId, std::function<const QString&(int item)> value);
    // For CompareItems: the order of a and b by the sort column's key; nothing when the column has none.
    std::optional<int> CompareByKey(int a, int b);

    static constexpr plat::ColorRef kSelectedBackground = plat::Rgb(190, 222, 250);
    static constexpr plat::ColorRef kFailedColor = plat::Rgb(204, 51, 0);

  private:
    QString RowsText(bool selectedOnly);
    QString SelectionKey() const;
    // The cell text of a filled line in the column at columnIndex, empty when the line has none there.
    static QString CellText(const CSkinListBox_Line& line, int columnIndex);

    using KeyOf = std::function<void(int item, CSkinListBox_SortKey& key)>;
    const KeyOf* SortKeyOf(int columnId) const;

    int m_kind;
    int m_index;
    QString m_copyCommand;
    std::vector<std::pair<int, KeyOf>> m_sortKeys;
};

// The name of a kind as its InitInfo gives it.
QString KindName(int kind);
