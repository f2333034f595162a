#pragma once

#include "skin/list_box_format.h"
#include "skin/skin_list_box.h"

#include <QString>
#include <vector>

namespace skintest {

// One record of the test report: a count, an amount that may be missing (negative) and a name.
struct Record {
    int volume = 0;
    float cpc = -1.0f;
    QString keyword;
};

// A report over a vector of records, built the way the project kinds build theirs: it sets the count before
// each rebuild, compares under the grid's sort column with the grid's helpers and applies the volume
// column's range filter in IsItemVisible (its only reason to hide a row, so it says so).
class RecordReport : public CSkinListBox {
  public:
    enum Column { kVolume = 0, kCpc = 1, kKeyword = 2 };
    // Reports show their selection through the line colours.
    static constexpr plat::ColorRef kSelectedBackground = plat::Rgb(190, 222, 250);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override {
        CSkinListBox::SetupColumns(holder, id);
        AddColumn(kVolume, QStringLiteral("Volume"), 80, CSkinListBox_Column::kFilterIntRange);
        AddColumn(kCpc, QStringLiteral("CPC (USD)"), 80, CSkinListBox_Column::kNoFilter);
        AddColumn(kKeyword, QStringLiteral("Keyword"), 200, CSkinListBox_Column::kNoFilter);
        m_columns[kKeyword].tooltip = QStringLiteral("The keyword searched for");
        m_wholeCellHits = true;
        m_visibilityByFiltersOnly = true;
    }

    void UpdateItemCount() override {
        m_itemCount = static_cast<int>(records.size());
        CSkinListBox::UpdateItemCount();
    }

    int CompareItems(int a, int b) override {
        const Record& x = records[static_cast<std::size_t>(a)];
        const Record& y = records[static_cast<std::size_t>(b)];
        switch (m_sortColumn) {
        case kVolume:
            return CompareInt(x.volume, y.volume);
        case kCpc:
            return CompareFloat(x.cpc, y.cpc);
        case kKeyword:
            return x.keyword.compare(y.keyword);
        default:
            return 0;
        }
    }

    // The three columns compare exactly as typed keys do, so the grid sorts them on keys.
    bool GetSortKey(int item, CSkinListBox_SortKey& key) override {
        const Record& r = records[static_cast<std::size_t>(item)];
        switch (m_sortColumn) {
        case kVolume:
            key.kind = CSkinListBox_SortKey::kInt;
            key.intValue = r.volume;
            return true;
        case kCpc:
            key.kind = CSkinListBox_SortKey::kFloat;
            key.floatValue = r.cpc;
            return true;
        case kKeyword:
            key.kind = CSkinListBox_SortKey::kText;
            key.text = &r.keyword;
            return true;
        default:
            return false;
        }
    }

    bool IsItemVisible(int item) override {
        return FilterAcceptsInt(kVolume, records[static_cast<std::size_t>(item)].volume);
    }

    void GetItemText(CSkinListBox_Line& line) override {
        const Record& r = records[static_cast<std::size_t>(line.item)];
        AddCell(line, FormatInt(r.volume, -3, -1), 0, 0, kVolume, 65535, CSkinListBox_Item::kText, 0, 3);
        AddCell(line, FormatFloat(r.cpc, true, -3.0f, -1.0f), 0, 0, kCpc, 65535, CSkinListBox_Item::kText, 0,
                3);
        AddCell(line, r.keyword, 0, 0, kKeyword, 65535);
        line.rowFlag = true;
        if (IsSelected(line.item))
            line.background = kSelectedBackground;
    }

    std::vector<Record> records;

  private:
    void AddColumn(int id, const QString& title, int width, int filterType) {
        CSkinListBox_Column c;
        c.id = id;
        c.title = title;
        c.width = width;
        c.filterType = filterType;
        m_columns.push_back(c);
    }
};

} // namespace skintest
