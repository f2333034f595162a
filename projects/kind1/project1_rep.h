#pragma once

#include "projects/common/record_report.h"
#include "projects/kind1/project1_keyword.h"

#include <vector>

// Kind 1's one report: a row per keyword with its sources and figures. The records stay the project's.
class CProject1_Rep : public CRecordReport<CProject1_Keyword> {
  public:
    enum Column { kKeyword = 0, kSources, kSearches, kCompetition, kAvgCpc, kTrend, kMatchType };

    explicit CProject1_Rep(const std::vector<CProject1_Keyword>& records);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    int CompareItems(int a, int b) override;
    bool IsItemVisible(int item) override;
    void GetItemText(CSkinListBox_Line& line) override;
    QString ItemKeyword(int item) const override;
};
