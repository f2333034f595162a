#pragma once

#include "platform/geometry.h"
#include "skin/element_handle.h"
#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_drop_list.h"
#include "skin/skin_edit.h"
#include "skin/skin_label.h"
#include "skin/skin_radio.h"

#include <QString>
#include <array>
#include <deque>

class CSkinListBox;
struct CSkinListBox_Column;

// The dialog in which the user sets one column's filter, opened from the column's filter button: include and
// exclude patterns, a check list of values, one value from a list, or a range, as the column's filter type
// says. OK stores it into the column and ends with 1; Cancel leaves the column as it was.
class CSkinListBox_FilterDlg : public CSkinDlg {
  public:
    // x and y are in the grid's coordinates: the dialog's right edge goes to x and its top to y.
    CSkinListBox_FilterDlg(CSkinDlg_Base* parent, CSkinListBox* grid, int x, int y);
    ~CSkinListBox_FilterDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;
    // Leaving the dialog ends the editing of both fields and of the drop list.
    void OnDialogKillFocus() override;

    // The column of the grid being edited, by its index; null once the grid or the column is gone.
    CSkinListBox_Column* Column() const;

    static constexpr int kWidth = 300;

    skin::ElementHandle m_pGrid;
    plat::Point m_screenPos;
    std::array<CSkinLabel, 4> m_labels;
    // One per value a check list offers; the holder below owns their places, so it goes first.
    std::deque<CSkinRadio> m_valueChecks;
    CSkinEdit m_edit1; // include patterns, or the minimum
    CSkinEdit m_edit2; // exclude patterns, or the maximum
    CSkinDropList m_dropList;
    CSkinRadio m_containsCheck;
    CSkinRadio m_showAll;
    CSkinDlgHolder m_checkHolder{true, false};
    CSkinRadio m_enableCheck;
    CSkinButton m_ok;
    CSkinButton m_cancel;
    int m_columnIndex = -1;

  private:
    // Each builds one filter type's controls from y down and answers where they end.
    int CreatePatternEdits(const QStringList& labels, int y);
    int CreateCheckList(const QStringList& labels, int y);
    int CreateValueList(const QStringList& labels, int y);
    int CreateRangeEdits(int y);
    void CreateLabel(int index, const QString& text, int x, int y);
    void Store(CSkinListBox_Column& column);
    // Whether the fields and the drop list differ from how the dialog opened.
    bool ChangedSinceOpening() const;
    void EnableFilter();

    QString m_openedText1;
    QString m_openedText2;
    int m_openedSelection = -1;
};
