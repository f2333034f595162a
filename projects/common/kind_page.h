#pragma once

#include "projects/common/kind_report.h"
#include "projects/common/project_bar.h"
#include "projects/common/report_panes.h"

#include <QString>
#include <vector>

class CSkinDlgHolder;

// A kind's results page below its heading: the project bar over one or two report grids. It answers the
// page's own commands (layout, splitter, Copy, the list of failures) and tells the kind about Start and Stop.
class CKindPage {
  public:
    explicit CKindPage(int kind);

    // Builds the bar and the grids (lower may be null) in the main window's holder; the grids begin at
    // (left, top), below whatever the kind puts between them and the bar.
    void Create(CSkinDlgHolder* holder, unsigned* nextId, const QString& keywords, CKindReport* upper,
                CKindReport* lower = nullptr, int top = CProjectBar::kBottom, int left = CReportPanes::kLeft);
    void SetVisible(bool visible);
    // Answers the page's own commands and hands Start and Stop to the kind's start() and stop(), whose run
    // switches the bar; false when the command is not the page's, for the kind to take.
    template <typename Start, typename Stop>
    bool Route(const QString& command, int param, Start start, Stop stop) {
        switch (OnCommand(command, param)) {
        case Command::Start:
            start();
            return true;
        case Command::Stop:
            stop();
            return true;
        case Command::Handled:
            return true;
        case Command::None:
            break;
        }
        return false;
    }
    bool Created() const { return m_created; }

    CProjectBar m_bar;
    CReportPanes m_panes;

  private:
    enum class Command { None, Handled, Start, Stop };
    Command OnCommand(const QString& command, int param);

    std::vector<CKindReport*> m_reports;
    bool m_created = false;
};
