#pragma once

#include "projects/common/kind_report.h"
#include "projects/kind3/project3_ad.h"

#include <vector>

// Campaign Chronicle's ad report: the sightings of the selected advertiser's ads. A click on a title opens
// the ad's preview.
class CProject3_Rep2 : public CKindReport {
  public:
    enum Column { kEngine = 0, kTitle = 1, kText = 2, kShownUrl = 3, kSeen = 4 };

    explicit CProject3_Rep2(const std::vector<CProject3_Ad>& ads);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    void UpdateItemCount() override;
    int CompareItems(int a, int b) override;
    void GetItemText(CSkinListBox_Line& line) override;
    void OnItemClick(int x, int y) override;

    // The link id of the title cells, which open the preview.
    static constexpr int kPreviewLink = 1;

    // The indexes into the history of the ads shown, in history order.
    std::vector<int> m_shown;

  private:
    const CProject3_Ad& AdOf(int item) const {
        return m_ads[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(item)])];
    }

    const std::vector<CProject3_Ad>& m_ads;
};
