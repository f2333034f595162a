#pragma once

#include "projects/common/record_report.h"
#include "projects/kind3/project3_advertiser.h"

#include <vector>

// Campaign Chronicle's advertiser report: one row per shown-URL domain of the history.
class CProject3_Rep1 : public CRecordReport<CProject3_Advertiser> {
  public:
    enum Column { kAdvertiser = 0, kAdsSeen = 1, kEngines = 2, kFirstSeen = 3, kLastSeen = 4 };

    explicit CProject3_Rep1(const std::vector<CProject3_Advertiser>& advertisers);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    int CompareItems(int a, int b) override;
    void GetItemText(CSkinListBox_Line& line) override;
    // The advertiser of a row; empty for a row beyond the list.
    QString DomainOf(int item) const;
};
