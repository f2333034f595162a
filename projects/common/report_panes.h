#pragma once

#include "skin/skin_dlg_splitter.h"

#include <QString>

class CSkinDlgHolder;
class CSkinListBox;

// The report grids of a project's page below its bar: one grid filling the view, or two one above the other
// with a splitter between them. The splitter ("prj<kind>_splitter") moves the border; on "MainDlg_OnSize"
// the border keeps its share of the height.
class CReportPanes {
  public:
    explicit CReportPanes(int kind);

    // Sets the grids' columns up in holder (SetupColumns) and places them from (left, top) to the view's
    // right and bottom; lower may be null.
    void Create(CSkinDlgHolder* holder, unsigned* nextId, int top, CSkinListBox* upper, CSkinListBox* lower,
                int left = kLeft);
    void SetVisible(bool visible);
    // The splitter's and the main window's layout commands; true when the command was one of them.
    bool OnCommand(const QString& command, int param);

    // The border's place in the holder, for tests and the page's own elements.
    int SplitterPosition() const { return m_splitter.m_position; }
    const QString& SplitterCommand() const { return m_command; }

    static constexpr int kLeft = 30;
    static constexpr int kBottomMargin = 20;
    // Each grid keeps this many whole rows however the splitter or the window moves.
    static constexpr int kMinRows = 3;

  private:
    void Place(int position);
    int AvailableHeight() const;

    QString m_command;
    CSkinDlgHolder* m_holder = nullptr;
    CSkinListBox* m_upper = nullptr;
    CSkinListBox* m_lower = nullptr;
    int m_top = 0;
    int m_left = kLeft;
    // The upper grid's share of the height both grids have.
    double m_share = 0.5;
    CSkinDlgSplitter m_splitter;
};
