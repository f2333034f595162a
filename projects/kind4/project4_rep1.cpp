#include "projects/kind4/project4_rep1.h"

#include "core/number_text.h"
#include "projects/common/task_values.h"
#include "projects/kind4/project4_data.h"
#include "skin/case_fold.h"
#include "skin/list_box_format.h"

using namespace Qt::StringLiterals;

namespace {

// Counts beyond an int's range are common, so they are compared and printed as doubles.
int CompareCounts(double a, double b, bool descending) {
    if (a >= 0 && b >= 0)
        return (a > b) - (a < b);
    return CompareFloatValues(static_cast<float>(a), static_cast<float>(b), false, descending);
}

QString CountText(double count) {
    if (count == task_value::kNotAsked)
        return {};
    return count < 0 ? CKindReport::kNoData : GroupDigits(number_text::FormatInt(static_cast<qint64>(count)));
}

} // namespace

CProject4_Rep1::CProject4_Rep1(const CProject4_Data& data) : CKindReport(4, 0), m_data(data) {
    SetFloatKey(kSearches, [this](int item) { return m_data.Keywords()[size_t(item)].searches; });
    m_visibilityByFiltersOnly = true;
}

void CProject4_Rep1::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CKindReport::SetupColumns(holder, id);
    AddColumn(kKeyword, u"Keyword"_s, 220, 1, CSkinListBox_Column::kFilterIncludeExclude);
    AddColumn(kSearches, u"Searches"_s, 90, 3, CSkinListBox_Column::kFilterFloatRange);
    AddColumn(kGoogle, u"Google results"_s, 110, 3, CSkinListBox_Column::kFilterFloatRange);
    AddColumn(kBing, u"Bing results"_s, 110, 3, CSkinListBox_Column::kFilterFloatRange);
    AddColumn(kYahoo, u"Yahoo results"_s, 110, 3, CSkinListBox_Column::kFilterFloatRange);
}

void CProject4_Rep1::UpdateItemCount() {
    m_itemCount = static_cast<int>(m_data.Keywords().size());
    CKindReport::UpdateItemCount();
}

QString CProject4_Rep1::ItemKeyword(int item) const {
    return m_data.Keywords()[static_cast<std::size_t>(item)].keyword;
}

int CProject4_Rep1::CompareItems(int a, int b) {
    const CProject4_Keyword& x = m_data.Keywords()[static_cast<std::size_t>(a)];
    const CProject4_Keyword& y = m_data.Keywords()[static_cast<std::size_t>(b)];
    if (const std::optional<int> order = CompareByKey(a, b))
        return *order;
    switch (m_sortColumn) {
    case kKeyword:
        return skin::fold::CompareFolded(x.keyword, y.keyword);
    case kGoogle:
    case kBing:
    case kYahoo: {
        const int engine = m_sortColumn - kGoogle;
        return CompareCounts(x.results[engine], y.results[engine], m_sortDirection == 1);
    }
    default:
        return (a > b) - (a < b);
    }
}

bool CProject4_Rep1::IsItemVisible(int item) {
    const CProject4_Keyword& k = m_data.Keywords()[static_cast<std::size_t>(item)];
    if (!FilterAcceptsText(kKeyword, k.keyword) || !FilterAcceptsFloat(kSearches, k.searches))
        return false;
    for (int engine = 0; engine < kProject4EngineCount; ++engine)
        if (!FilterAcceptsFloat(kGoogle + engine, static_cast<float>(k.results[engine])))
            return false;
    return true;
}

void CProject4_Rep1::GetItemText(CSkinListBox_Line& line) {
    const CProject4_Keyword& k = m_data.Keywords()[static_cast<std::size_t>(line.item)];
    AddTextCell(line, k.keyword, kKeyword);
    AddTaskCell(line, FloatText(k.searches), kSearches, k.failed, static_cast<int>(Project4Request::Volume));
    for (int engine = 0; engine < kProject4EngineCount; ++engine)
        AddTaskCell(line, CountText(k.results[engine]), kGoogle + engine, k.failed,
                    static_cast<int>(Project4Request::Google) + engine);
    FinishLine(line);
}
