#pragma once

#include "skin/sorted_strings.h"
#include "tests/skin/record_report.h"

#include <QStringList>

namespace skintest {

// The record report with a filter on every column and a column of groups (one per record), filtering the
// way project reports do: each column's test in IsItemVisible, the labels, offered values and range hints in
// GetFilterInfo. The group column's filter type is set by the test (check list by default).
class FilterReport : public RecordReport {
  public:
    enum { kGroup = 3 };

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override {
        RecordReport::SetupColumns(holder, id);
        m_columns[kCpc].filterType = CSkinListBox_Column::kFilterFloatRange;
        m_columns[kKeyword].filterType = CSkinListBox_Column::kFilterIncludeExclude;
        CSkinListBox_Column group;
        group.id = kGroup;
        group.title = QStringLiteral("Group (site)");
        group.width = 120;
        group.filterType = CSkinListBox_Column::kFilterExactValues;
        m_columns.push_back(group);
    }

    bool IsItemVisible(int item) override {
        const Record& r = records[static_cast<std::size_t>(item)];
        return FilterAcceptsInt(kVolume, r.volume) && FilterAcceptsFloat(kCpc, r.cpc) &&
               FilterAcceptsText(kKeyword, r.keyword) &&
               FilterAcceptsText(kGroup, groups[static_cast<std::size_t>(item)]);
    }

    void GetItemText(CSkinListBox_Line& line) override {
        RecordReport::GetItemText(line);
        AddCell(line, groups[static_cast<std::size_t>(line.item)], 0, 0, kGroup, 65535);
    }

    void GetFilterInfo(CSkinListBox_Column* column, QStringList& labels) override {
        switch (column->filterType) {
        case CSkinListBox_Column::kFilterIncludeExclude:
            labels = {QStringLiteral("Show keywords with:"), QStringLiteral("Hide keywords with:")};
            return;
        case CSkinListBox_Column::kFilterIntRange:
        case CSkinListBox_Column::kFilterFloatRange:
            column->filterText = QStringLiteral("(lowest on report: 0)");
            column->filterText2 = QStringLiteral("(highest on report: 5,000,000)");
            return;
        default:
            break;
        }
        labels = {QStringLiteral("Show groups:"), QStringLiteral("Contains the text")};
        column->values2.clear();
        InsertSortedUnique(groups, column->values2, true, false);
    }

    QStringList groups;
};

} // namespace skintest
