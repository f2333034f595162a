#include "projects/kind8/project8_rep1.h"

#include "projects/common/ad_text.h"
#include "projects/common/search_engine.h"
#include "skin/case_fold.h"

using namespace Qt::StringLiterals;

CProject8_Rep1::CProject8_Rep1(const std::vector<CProject8_Result>& results) : CRecordReport(8, 0, results) {
    SetIntKey(
        kPosition, [this](int item) { return RecordOf(item).result.pos; });
}

void CProject8_Rep1::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CKindReport::SetupColumns(holder, id);
    AddColumn(kTitle, u"Title"_s, 220);
    AddColumn(kUrl, u"URL"_s, 220);
    AddColumn(kText, u"Text"_s, 300);
    AddColumn(kEngine, u"Engine"_s, 70);
    AddColumn(kPosition, u"Position"_s, 60);
}

int CProject8_Rep1::CompareItems(int a, int b) {
    const CProject8_Result& x = RecordOf(a);
    const CProject8_Result& y = RecordOf(b);
    if (const std::optional<int> order = CompareByKey(a, b))
        return *order;
    switch (m_sortColumn) {
    case kTitle:
        return skin::fold::CompareFolded(x.result.title, y.result.title);
    case kUrl:
        return skin::fold::CompareFolded(x.result.full_url, y.result.full_url);
    case kText:
        return CompareAdTextsOneLine(x.result, y.result);
    case kEngine:
        return EngineName(x.engine).compare(EngineName(y.engine));
    default:
        return 0;
    }
}

void CProject8_Rep1::GetItemText(CSkinListBox_Line& line) {
    const CProject8_Result& r = RecordOf(line.item);
    AddTextCell(line, r.result.title, kTitle);
    AddTextCell(line, r.result.full_url, kUrl);
    AddTextCell(line, AdTextOneLine(r.result), kText);
    AddTextCell(line, EngineName(r.engine), kEngine);
    AddNumberCell(line, IntText(r.result.pos), kPosition);
    FinishLine(line);
}
