// The report grid's column filters: the tests reports call from IsItemVisible, and the dialog a filter
// button opens.

#include "skin/case_fold.h"
#include "skin/skin_list_box.h"
#include "skin/skin_list_box_filter_dlg.h"
#include "skin/wildcard_pattern.h"

void CSkinListBox::RunFilterDialog(int column, int x, int y, const QString& title) {
    if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size())
        return;
    CSkinListBox_FilterDlg dlg(m_pDlg, this, x, y);
    dlg.m_title = title;
    dlg.m_columnIndex = column;
    dlg.DoModal();
}

int CSkinListBox::MatchWildcard(const QString& text, const QString& pattern) {
    return static_cast<int>(skin::WildcardPattern(pattern).FindIn(text));
}

bool CSkinListBox::FilterAcceptsText(int columnId, const QString& text) {
    CSkinListBox_Column* c = ActiveFilter(columnId, CSkinListBox_Column::kFilterIncludeExclude,
                                          CSkinListBox_Column::kFilterOneValueContains);
    if (!c)
        return true;
    switch (c->filterType) {
    case CSkinListBox_Column::kFilterIncludeExclude:
        return c->FilterIndex().AcceptsByPatterns(text);
    case CSkinListBox_Column::kFilterExactValues:
        return c->FilterIndex().AcceptsExact(text);
    case CSkinListBox_Column::kFilterContainedValues:
        return c->FilterIndex().AcceptsContaining(text);
    default:
        return c->filterText2.isEmpty() ? text.size() == c->filterText.size() &&
                                              skin::fold::CompareFolded(text, c->filterText) == 0
                                        : text.contains(c->filterText, Qt::CaseSensitive);
    }
}

bool CSkinListBox::FilterAcceptsInt(int columnId, int v) {
    const CSkinListBox_Column* c =
        ActiveFilter(columnId, CSkinListBox_Column::kFilterIntRange, CSkinListBox_Column::kFilterIntRange);
    return !c || (c->intMin <= v && v <= c->intMax);
}

bool CSkinListBox::FilterAcceptsFloat(int columnId, float v) {
    const CSkinListBox_Column* c = ActiveFilter(columnId, CSkinListBox_Column::kFilterFloatRange,
                                                CSkinListBox_Column::kFilterFloatRange);
    return !c || (c->floatMin <= v && v <= c->floatMax);
}
