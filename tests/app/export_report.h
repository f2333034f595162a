#pragma once

#include "skin/skin_dlg_holder.h"
#include "tests/skin/record_report.h"

namespace apptest {

// The test report with what an export must cope with: a column left out of exports, a row-wide message
// spanning columns (a record without a name), a filter, a sort, and scraped text that must not run as markup
// or as a spreadsheet formula.
class ExportReport : public skintest::RecordReport {
  public:
    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override {
        RecordReport::SetupColumns(holder, id);
        CSkinListBox_Column note;
        note.id = 3;
        note.title = QStringLiteral("Note");
        note.exported = false;
        m_columns.push_back(note);
        m_columns[kVolume].headerAlign = 3;
        m_columns[kKeyword].headerAlign = 1;
    }
    void GetItemText(CSkinListBox_Line& line) override {
        if (records[size_t(line.item)].keyword.isEmpty())
            AddLineMessage(line, QStringLiteral("Please wait..."), 0, 0, kCpc, -1, 65535);
        else
            RecordReport::GetItemText(line);
    }
    void Fill() {
        records = {{1200, 0.5f, QStringLiteral("plain keyword")},
                   {900, -1.0f, QStringLiteral("<script>alert('x')</script>")},
                   {800, 2.25f, QStringLiteral("=cmd|' /C calc'!A0")},
                   {700, 1.0f, QStringLiteral("<b>bold</b> & <U>under</U> <i>not</i>")},
                   {600, 0.1f, QStringLiteral("caf\u00e9 \u2013 \u6771\u4eac \"quoted\"")},
                   {500, 3.0f, QStringLiteral("@SUM(A1) and +1 and -2")},
                   {400, -1.0f, QString()},
                   {5, 9.0f, QStringLiteral("filtered out")}};
        m_columns[kVolume].filterOn = true;
        m_columns[kVolume].intMin = 100;
        m_columns[kVolume].intMax = 100000;
        m_sortColumn = kVolume;
        m_sortDirection = 1;
        InvalidateContent();
    }
};

} // namespace apptest
