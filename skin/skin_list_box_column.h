#pragma once

#include "skin/column_filter_index.h"

#include <QString>
#include <QStringList>
#include <memory>

// One column of a report grid as the report's SetupColumns describes it, with its measured layout and its
// filter. Cells, filters and sort keys name columns by id.
struct CSkinListBox_Column {
    enum GroupRole {
        kPlain = 0,
        kGroupHead = 1,   // a header spanning the member columns that follow; it takes no width of its own
        kGroupMember = 2, // drawn in the lower half of the header, under its group head
    };
    enum FilterType {
        kNoFilter = 0,
        kFilterIncludeExclude = 1,
        kFilterExactValues = 2,
        kFilterContainedValues = 3,
        kFilterOneValue = 4,
        kFilterOneValueContains = 5,
        kFilterIntRange = 6,
        kFilterFloatRange = 7,
    };

    int groupRole = kPlain;
    int memberCount = 0; // for a group head: the members that follow it (ComputeColumnGroups)
    int id = 0;
    int width = 0;
    int minWidth = 0;       // 0 until measured: the title's width, plus room for a filter button
    int headerAlign = 2;    // 1 left, 2 centre, 3 right
    int baseWidth = 0;      // the width the report asked for, kept for re-layout
    int x = 0;              // left edge in content coordinates
    bool highlight = false; // cells mark the grid's highlight words
    bool emphasis = false;  // cells drawn on a lighter background
    bool exported = true;   // written by the report export
    QString title;          // may hold "(...)" hints, dropped from the filter dialog's title
    QString tooltip;

    int filterType = kNoFilter;
    bool filterOn = false;
    QString filterText;
    QString filterText2;
    QStringList values;
    QStringList values2;
    float floatMin = 0.0f;
    float floatMax = 100.0f;
    int intMin = 0;
    int intMax = 100;

    // The text filter prepared for testing rows: made when the filter is stored, and again whenever the
    // lists changed since.
    const skin::ColumnFilterIndex& FilterIndex() {
        if (!m_filterIndex || !m_filterIndex->IsFor(filterType, values, values2))
            PrepareFilter();
        return *m_filterIndex;
    }

  private:
    void PrepareFilter();

    std::shared_ptr<const skin::ColumnFilterIndex> m_filterIndex;
};
