#include "projects/kind1/project1_rep.h"

#include "projects/common/task_values.h"
#include "skin/case_fold.h"

using namespace Qt::StringLiterals;

namespace {

// Every row comes from a finished request, so a figure still missing is one no source gave.
QString FigureText(float value) {
    return CKindReport::FloatText(value < 0.0f ? task_value::kNoData : value);
}

} // namespace

CProject1_Rep::CProject1_Rep(const std::vector<CProject1_Keyword>& records) : CRecordReport(1, 0, records) {
    m_selectCommand = u"prj1_report_select_update"_s;
    // Most searched first on the first click.
    SetIntKey(
        kSearches, [this](int item) { return RecordOf(item).Searches(); }, true);
    SetFloatKey(
        kCompetition, [this](int item) { return RecordOf(item).m_row.competition; });
    SetFloatKey(kAvgCpc, [this](int item) { return RecordOf(item).m_row.avgCPC; });
}

void CProject1_Rep::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CKindReport::SetupColumns(holder, id);
    AddColumn(kKeyword, u"Keyword"_s, 200, 1, CSkinListBox_Column::kFilterIncludeExclude);
    AddColumn(kSources, u"Sources"_s, 250, 2, CSkinListBox_Column::kFilterIncludeExclude);
    AddColumn(kSearches, u"Searches"_s, 80, 2, CSkinListBox_Column::kFilterIntRange);
    AddColumn(kCompetition, u"Competition"_s, 80, 2, CSkinListBox_Column::kFilterFloatRange);
    AddColumn(kAvgCpc, u"Avg CPC (USD)"_s, 90, 2, CSkinListBox_Column::kFilterFloatRange);
    AddColumn(kTrend, u"Trend"_s, 90);
    AddColumn(kMatchType, u"Match type"_s, 120, 2, CSkinListBox_Column::kFilterIncludeExclude);
    m_columns[kSearches].intMax = 1000000000;
    m_columns[kCompetition].floatMax = 1.0f;
    m_columns[kAvgCpc].floatMax = 1000.0f;
    m_sortColumn = kSearches;
    m_wholeCellHits = true;
    m_visibilityByFiltersOnly = true;
}

int CProject1_Rep::CompareItems(int a, int b) {
    const CProject1_Keyword& x = RecordOf(a);
    const CProject1_Keyword& y = RecordOf(b);
    if (const std::optional<int> order = CompareByKey(a, b))
        return *order;
    switch (m_sortColumn) {
    case kKeyword:
        return skin::fold::CompareFolded(x.m_row.keyword, y.m_row.keyword);
    case kSources:
        return x.SourcesText().compare(y.SourcesText());
    case kMatchType:
        return x.MatchTypeText().compare(y.MatchTypeText());
    default:
        return 0;
    }
}

bool CProject1_Rep::IsItemVisible(int item) {
    const CProject1_Keyword& r = RecordOf(item);
    return FilterAcceptsText(kKeyword, r.m_row.keyword) &&
           FilterAcceptsText(kSources, FilterWords(r.SourcesText())) &&
           FilterAcceptsInt(kSearches, r.Searches()) &&
           FilterAcceptsFloat(kCompetition, r.m_row.competition) &&
           FilterAcceptsFloat(kAvgCpc, r.m_row.avgCPC) &&
           FilterAcceptsText(kMatchType, FilterWords(r.MatchTypeText()));
}

void CProject1_Rep::GetItemText(CSkinListBox_Line& line) {
    const CProject1_Keyword& r = RecordOf(line.item);
    AddTextCell(line, r.m_row.keyword, kKeyword);
    AddTextCell(line, r.SourcesText(), kSources);
    const int searches = r.Searches();
    AddNumberCell(line, IntText(searches < 0 ? task_value::kNoData : searches), kSearches);
    AddNumberCell(line, FigureText(r.m_row.competition), kCompetition);
    AddNumberCell(line, FigureText(r.m_row.avgCPC), kAvgCpc);
    const QString trend = r.TrendText();
    AddTextCell(line, trend, kTrend,
                trend == kNoData ? CSkinListBox_Item::kText : CSkinListBox_Item::kMiniChart);
    AddTextCell(line, r.MatchTypeText(), kMatchType);
    FinishLine(line);
}

QString CProject1_Rep::ItemKeyword(int item) const {
    return RecordOf(item).m_row.keyword;
}
