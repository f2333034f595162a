#include "projects/kind6/project6_rep.h"

using namespace Qt::StringLiterals;

namespace {

QString RankSortText(int rank) {
    return rank >= 0 ? QString::number(rank) : QString();
}

} // namespace

CProject6_Rep::CProject6_Rep(int kind, const std::vector<CProject6_Site>& sites, const QString& markerTitle)
    : CRecordReport(kind, 0, sites), m_markerTitle(markerTitle) {}

void CProject6_Rep::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CSkinListBox::SetupColumns(holder, id);
    AddColumn(kSite, u"Site"_s, 160, 1, CSkinListBox_Column::kFilterIncludeExclude);
    AddColumn(kUrl, u"URL"_s, 220, 1);
    AddColumn(kMarker, m_markerTitle, 220, 1, CSkinListBox_Column::kFilterIncludeExclude);
    AddColumn(kPageRank, u"Page rank"_s, 80, 3, CSkinListBox_Column::kFilterIntRange);
    AddColumn(kTrafficRank, u"Traffic rank"_s, 100, 3, CSkinListBox_Column::kFilterIntRange);
    m_columns[kPageRank].intMax = 10;
    m_columns[kTrafficRank].intMax = 1000000;
}

QString CProject6_Rep::SortText(const CProject6_Site& site) const {
    switch (m_sortColumn) {
    case kSite:
        return site.site;
    case kUrl:
        return site.url;
    case kMarker:
        return site.test == CProject6_Site::kFound ? site.marker : QString();
    case kPageRank:
        return RankSortText(site.pageRank);
    case kTrafficRank:
        return RankSortText(site.trafficRank);
    default:
        return {};
    }
}

int CProject6_Rep::CompareItems(int a, int b) {
    const bool numeric = m_sortColumn == kPageRank || m_sortColumn == kTrafficRank;
    return CompareNumberText(SortText(RecordOf(a)), SortText(RecordOf(b)), numeric, QString(), u' ');
}

bool CProject6_Rep::IsItemVisible(int item) {
    const CProject6_Site& site = RecordOf(item);
    return site.IsShown() && FilterAcceptsText(kSite, FilterWords(site.site)) &&
           FilterAcceptsText(kMarker, FilterWords(site.marker)) &&
           FilterAcceptsInt(kPageRank, site.pageRank) && FilterAcceptsInt(kTrafficRank, site.trafficRank);
}

void CProject6_Rep::GetItemText(CSkinListBox_Line& line) {
    const CProject6_Site& site = RecordOf(line.item);
    AddTextCell(line, site.site, kSite);
    AddTextCell(line, site.url, kUrl);
    AddTaskCell(line, site.test == CProject6_Site::kFound ? site.marker : kNoData, kMarker, site.failed,
                CProject6_Site::kHomePageTask, 1);
    AddTaskCell(line, IntText(site.pageRank), kPageRank, site.failed, CProject6_Site::kPageRankTask);
    AddTaskCell(line, IntText(site.trafficRank), kTrafficRank, site.failed, CProject6_Site::kTrafficRankTask);
    FinishLine(line);
}
