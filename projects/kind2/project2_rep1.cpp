#include "projects/kind2/project2_rep1.h"

#include "skin/case_fold.h"

using namespace Qt::StringLiterals;

namespace {

using Engine = Project2Engine;

// The engine and whether the column is its ad count, for the engine columns.
struct EngineColumn {
    int column;
    Engine engine;
    bool ads;
};

constexpr EngineColumn kEngineColumns[] = {
    {CProject2_Rep1::kGoogleResults, Engine::Google, false},
    {CProject2_Rep1::kGoogleAds, Engine::Google, true},
    {CProject2_Rep1::kBingResults, Engine::Bing, false},
    {CProject2_Rep1::kBingAds, Engine::Bing, true},
    {CProject2_Rep1::kYahooResults, Engine::Yahoo, false},
    {CProject2_Rep1::kYahooAds, Engine::Yahoo, true},
};

} // namespace

CProject2_Rep1::CProject2_Rep1(const std::vector<CProject2_Keyword>& records) : CRecordReport(2, 0, records) {
    m_visibilityByFiltersOnly = true;
    for (const EngineColumn& c : kEngineColumns)
        if (c.ads)
            SetIntKey(c.column, [this, &c](int item) { return RecordOf(item).Engine(c.engine).adCount; });
        else
            SetFloatKey(
                c.column, [this, &c](int item) { return RecordOf(item).Engine(c.engine).results; });
    SetFloatKey(
        kSearches, [this](int item) { return RecordOf(item).tool.estimatedSearch; });
    SetFloatKey(
        kAvgCpc, [this](int item) { return RecordOf(item).tool.avgCPC; });
    SetFloatKey(kIntent, [this](int item) { return RecordOf(item).intent; });
}

void CProject2_Rep1::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CKindReport::SetupColumns(holder, id);
    AddColumn(kKeyword, u"Keyword"_s, 180, 1, CSkinListBox_Column::kFilterIncludeExclude);
    AddColumn(kSearches, u"Searches"_s, 80, 3, CSkinListBox_Column::kFilterFloatRange);
    AddColumn(kAvgCpc, u"Avg CPC"_s, 60, 3, CSkinListBox_Column::kFilterFloatRange);
    AddColumn(kGoogleResults, u"Google results"_s, 100, 3);
    AddColumn(kGoogleAds, u"Google ads"_s, 70, 3);
    AddColumn(kBingResults, u"Bing results"_s, 100, 3);
    AddColumn(kBingAds, u"Bing ads"_s, 70, 3);
    AddColumn(kYahooResults, u"Yahoo results"_s, 100, 3);
    AddColumn(kYahooAds, u"Yahoo ads"_s, 70, 3);
    AddColumn(kIntent, u"Commercial intention"_s, 120, 3, CSkinListBox_Column::kFilterFloatRange);
    m_sortColumn = kKeyword;
}

int CProject2_Rep1::CompareItems(int a, int b) {
    if (const std::optional<int> order = CompareByKey(a, b))
        return *order;
    if (m_sortColumn == kKeyword)
        return skin::fold::CompareFolded(RecordOf(a).keyword, RecordOf(b).keyword);
    return 0;
}

bool CProject2_Rep1::IsItemVisible(int item) {
    const CProject2_Keyword& r = RecordOf(item);
    return FilterAcceptsText(kKeyword, r.keyword) && FilterAcceptsFloat(kSearches, r.tool.estimatedSearch) &&
           FilterAcceptsFloat(kAvgCpc, r.tool.avgCPC) && FilterAcceptsFloat(kIntent, r.intent);
}

void CProject2_Rep1::AfterOrderBuilt() {
    // Never from inside the paint that rebuilt the order: the owner repaints the ads grid.
    QueueSelectionNotice();
}

void CProject2_Rep1::GetItemText(CSkinListBox_Line& line) {
    const CProject2_Keyword& r = RecordOf(line.item);
    AddTextCell(line, r.keyword, kKeyword);
    AddTaskCell(line, FloatText(r.tool.estimatedSearch), kSearches, r.failed, CProject2_Keyword::kToolTask);
    AddTaskCell(line, FloatText(r.tool.avgCPC, false), kAvgCpc, r.failed, CProject2_Keyword::kToolTask);
    for (const EngineColumn& c : kEngineColumns) {
        const auto& engine = r.Engine(c.engine);
        AddTaskCell(line, c.ads ? IntText(engine.adCount) : FloatText(engine.results), c.column, r.failed,
                    CProject2_Keyword::EngineTask(c.engine));
    }
    AddTaskCell(line, FloatText(r.intent), kIntent, r.failed, CProject2_Keyword::kIntentTask);
    FinishLine(line);
}

QString CProject2_Rep1::ItemKeyword(int item) const {
    return RecordOf(item).keyword;
}
