#pragma once

#include "projects/common/kind_report.h"
#include "projects/common/project_bar.h"
#include "projects/common/report_panes.h"

#include <QString>
#include <vector>

class CSkinDlgHolder;

// A kind's results page below its heading: the project bar over one or two report grids. It answers the
// page's own commands (layout, splitter, Copy) and tells the kind about Start and Stop.
class CKindPage {
  public:
    enum class Command { None, Handled, Start, Stop };

    explicit CKindPage(int kind);

    // Builds the bar and the grids (lower may be null) in the main window's holder; the grids begin at
    // (left, top), below whatever the kind puts between them and the bar.
    void Create(CSkinDlgHolder* holder, unsigned* nextId, const QString& keywords, CKindReport* upper,
                CKindReport* lower = nullptr, int top = CProjectBar::kBottom, int left = CReportPanes::kLeft);
    void SetVisible(bool visible);
    // Start and Stop are left to the kind, whose run switches the bar.
    Command OnCommand(const QString& command, int param);
    bool Created() const { return m_created; }

    CProjectBar m_bar;
    CReportPanes m_panes;

  private:
    std::vector<CKindReport*> m_reports;
    bool m_created = false;
};
