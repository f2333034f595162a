#pragma once

#include "projects/common/record_report.h"
#include "projects/kind2/project2_keyword.h"

#include <vector>

// Kind 2's keyword report: one row per keyword with its searches, cost per click, each engine's result
// and ad counts, and its commercial intention.
class CProject2_Rep1 : public CRecordReport<CProject2_Keyword> {
  public:
    enum Column {
        kKeyword,
        kSearches,
        kAvgCpc,
        kGoogleResults,
        kGoogleAds,
        kBingResults,
        kBingAds,
        kYahooResults,
        kYahooAds,
        kIntent,
    };

    explicit CProject2_Rep1(const std::vector<CProject2_Keyword>& records);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    int CompareItems(int a, int b) override;
    bool IsItemVisible(int item) override;
    // A filter may have hidden the selected keyword: the owner looks at the selection again.
    void AfterOrderBuilt() override;
    void GetItemText(CSkinListBox_Line& line) override;
    QString ItemKeyword(int item) const override;
};
