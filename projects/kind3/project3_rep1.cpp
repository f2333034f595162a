#include "projects/kind3/project3_rep1.h"

#include "core/packed_minutes.h"
#include "skin/case_fold.h"

using namespace Qt::StringLiterals;

CProject3_Rep1::CProject3_Rep1(const std::vector<CProject3_Advertiser>& advertisers)
    : CRecordReport(3, 0, advertisers) {
    SetIntKey(
        kAdsSeen, [this](int item) { return RecordOf(item).adsSeen; });
    SetIntKey(
        kFirstSeen, [this](int item) { return RecordOf(item).firstSeen; });
    SetIntKey(kLastSeen, [this](int item) { return RecordOf(item).lastSeen; });
}

void CProject3_Rep1::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CKindReport::SetupColumns(holder, id);
    AddColumn(kAdvertiser, u"Advertiser"_s, 220);
    AddColumn(kAdsSeen, u"Ads seen"_s, 80);
    AddColumn(kEngines, u"Engines"_s, 160);
    AddColumn(kFirstSeen, u"First seen"_s, 120);
    AddColumn(kLastSeen, u"Last seen"_s, 120);
    m_sortColumn = kAdsSeen;
    m_sortDirection = 1;
}

int CProject3_Rep1::CompareItems(int a, int b) {
    const CProject3_Advertiser& x = RecordOf(a);
    const CProject3_Advertiser& y = RecordOf(b);
    if (const std::optional<int> order = CompareByKey(a, b))
        return *order;
    switch (m_sortColumn) {
    case kAdvertiser:
        return skin::fold::CompareFolded(x.domain, y.domain);
    case kEngines:
        return x.EngineNames().compare(y.EngineNames());
    default:
        return 0;
    }
}

void CProject3_Rep1::GetItemText(CSkinListBox_Line& line) {
    const CProject3_Advertiser& a = RecordOf(line.item);
    AddTextCell(line, a.domain, kAdvertiser);
    AddNumberCell(line, IntText(a.adsSeen), kAdsSeen);
    AddTextCell(line, a.EngineNames(), kEngines);
    AddTextCell(line, FormatMinutes(a.firstSeen), kFirstSeen);
    AddTextCell(line, FormatMinutes(a.lastSeen), kLastSeen);
    FinishLine(line);
}

QString CProject3_Rep1::DomainOf(int item) const {
    return item >= 0 && static_cast<std::size_t>(item) < m_records.size() ? RecordOf(item).domain : QString();
}
