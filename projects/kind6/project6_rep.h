#pragma once

#include "projects/common/record_report.h"
#include "projects/kind6/project6_site.h"

#include <vector>

// The report of kinds 6 and 7: the sites whose home page holds what the kind looks for (or could not be
// read), with their page rank and traffic rank. Every column sorts by its cell text, numbers as numbers.
class CProject6_Rep : public CRecordReport<CProject6_Site> {
  public:
    enum Column { kSite = 0, kUrl = 1, kMarker = 2, kPageRank = 3, kTrafficRank = 4 };

    // markerTitle: the title of the column of what the test found ("Ad client", "Form action").
    CProject6_Rep(int kind, const std::vector<CProject6_Site>& sites, const QString& markerTitle);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    int CompareItems(int a, int b) override;
    bool IsItemVisible(int item) override;
    void GetItemText(CSkinListBox_Line& line) override;

  private:
    // The text a column sorts by: empty for no data, so that such rows come last either way.
    QString SortText(const CProject6_Site& site) const;

    QString m_markerTitle;
};
