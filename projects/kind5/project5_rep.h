#pragma once

#include "projects/common/record_report.h"
#include "projects/kind5/project5_entry.h"

#include <QDate>
#include <optional>
#include <vector>

// The report of kind 5: one row per monitored pair with the site's ad position on each engine and the time
// of the check shown. With no day chosen it shows each pair's newest check, else the last check of that day.
class CProject5_Rep : public CRecordReport<CProject5_Entry> {
  public:
    enum Column { kKeyword = 0, kSite = 1, kGoogle = 2, kBing = 3, kYahoo = 4, kLastCheck = 5 };
    // Sent to the dialog when Delete is pressed over the report.
    static inline const QString kDeleteCommand = QStringLiteral("prj5_delete");

    explicit CProject5_Rep(const std::vector<CProject5_Entry>& entries);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    int CompareItems(int a, int b) override;
    bool IsItemVisible(int item) override;
    void GetItemText(CSkinListBox_Line& line) override;
    bool OnKey(int vk) override;
    QString ItemKeyword(int item) const override;

    // Clears the selection: after pairs were removed, the flags would mark the pairs that moved up.
    void ForgetSelection();
    // The check the row of item shows, or null.
    const CProject5_Check* ShownCheck(int item) const;

    // Invalid: the newest check of every pair.
    QDate m_day;

    // A rebuild asks the time zone about the chosen day again.
    void UpdateItemCount() override;

  private:
    // The sort and filter value of a position: real positions first, then "not shown", then no data.
    int PositionKey(int item, int engine) const;

    // Which checks fall on m_day, worked out once for all rows (the time zone is slow to ask).
    mutable std::optional<PackedMinutesDay> m_dayChecks;
};
