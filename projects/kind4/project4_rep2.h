#pragma once

#include "projects/common/kind_report.h"
#include "projects/common/task_values.h"

class CProject4_Data;
class CDownloader_Parsers_SE_result;
class CProject4_Site;

// The top sites of one keyword on one engine, with what the site services told of each.
class CProject4_Rep2 : public CKindReport {
  public:
    enum Column { kPosition, kTitle, kUrl, kPageRank, kInlinks, kTrafficRank, kCreated };

    explicit CProject4_Rep2(const CProject4_Data& data);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    void UpdateItemCount() override;
    int CompareItems(int a, int b) override;
    bool IsItemVisible(int item) override;
    void GetItemText(CSkinListBox_Line& line) override;

    // Shows the results of keyword (task_value::kNone: none) on engine.
    void Show(int keyword, int engine);
    int Keyword() const { return m_keyword; }

  private:
    const CDownloader_Parsers_SE_result& Result(int item) const;
    // Null while the site is not known (an address without a host).
    const CProject4_Site* SiteOf(int item) const;
    // The value of a site column as it sorts: no-data values as the grid's comparisons expect them.
    int SortValue(int item) const;

    const CProject4_Data& m_data;
    int m_keyword = task_value::kNone;
    int m_engine = 0;
};
