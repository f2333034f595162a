#pragma once

#include "projects/common/kind_report.h"
#include "projects/kind2/project2_keyword.h"

#include <vector>

// Kind 2's ads report: the ads the three engines showed for the keyword selected in the keyword report. A
// click on an ad's title opens the ad preview.
class CProject2_Rep2 : public CKindReport {
  public:
    enum Column { kEngine, kPosition, kTitle, kText, kShownUrl };

    explicit CProject2_Rep2(const std::vector<CProject2_Keyword>& records);

    // The ads of the keyword record at index, engine by engine; task_value::kNone shows none. Called again
    // whenever the record's ads changed.
    void ShowKeyword(int index);
    int ShownKeyword() const { return m_keyword; }
    // The ad of a row.
    const CDownloader_Parsers_SE_result& Ad(int item) const;
    // Opens the ad preview for a row next to (x, y) in the grid.
    void OpenPreview(int item, int x, int y);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    void UpdateItemCount() override;
    int CompareItems(int a, int b) override;
    void GetItemText(CSkinListBox_Line& line) override;
    void OnItemClick(int x, int y) override;

    static constexpr int kTitleLink = 1;

  private:
    struct Row {
        Project2Engine engine;
        int index;
    };
    const CProject2_Keyword& Keyword() const { return m_records[size_t(m_keyword)]; }

    const std::vector<CProject2_Keyword>& m_records;
    int m_keyword = task_value::kNone;
    std::vector<Row> m_rows;
};
