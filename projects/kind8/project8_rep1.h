#pragma once

#include "projects/common/record_report.h"
#include "projects/kind8/project8_result.h"

#include <vector>

// Offer Compass's report: the results of both offer queries on every engine.
class CProject8_Rep1 : public CRecordReport<CProject8_Result> {
  public:
    enum Column { kTitle = 0, kUrl = 1, kText = 2, kEngine = 3, kPosition = 4 };

    explicit CProject8_Rep1(const std::vector<CProject8_Result>& results);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    int CompareItems(int a, int b) override;
    void GetItemText(CSkinListBox_Line& line) override;
};
