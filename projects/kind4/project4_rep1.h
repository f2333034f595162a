#pragma once

#include "projects/common/kind_report.h"

class CProject4_Data;

// The keyword report: one row per keyword with its volume and each engine's result count.
class CProject4_Rep1 : public CKindReport {
  public:
    enum Column { kKeyword, kSearches, kGoogle, kBing, kYahoo };

    explicit CProject4_Rep1(const CProject4_Data& data);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    void UpdateItemCount() override;
    int CompareItems(int a, int b) override;
    bool IsItemVisible(int item) override;
    void GetItemText(CSkinListBox_Line& line) override;
    QString ItemKeyword(int item) const override;

  private:
    const CProject4_Data& m_data;
};
