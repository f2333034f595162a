#include "projects/kind4/project4_rep2.h"

#include "projects/common/task_values.h"
#include "projects/kind4/project4_creation_date.h"
#include "projects/kind4/project4_data.h"
#include "skin/case_fold.h"

using namespace Qt::StringLiterals;
using task_value::kNotAsked;

CProject4_Rep2::CProject4_Rep2(const CProject4_Data& data) : CKindReport(4, 1), m_data(data) {
    SetIntKey(kPosition, [this](int item) { return Result(item).pos; });
    // The site columns' value follows the sort column.
    for (const int column : {kPageRank, kInlinks, kTrafficRank, kCreated})
        SetIntKey(column, [this](int item) { return SortValue(item); });
    m_visibilityByFiltersOnly = true;
}

void CProject4_Rep2::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CKindReport::SetupColumns(holder, id);
    AddColumn(kPosition, u"Position"_s, 60, 3, CSkinListBox_Column::kFilterIntRange);
    AddColumn(kTitle, u"Title"_s, 240, 1, CSkinListBox_Column::kFilterIncludeExclude);
    AddColumn(kUrl, u"URL"_s, 240, 1, CSkinListBox_Column::kFilterIncludeExclude);
    AddColumn(kPageRank, u"Page rank"_s, 70, 3, CSkinListBox_Column::kFilterIntRange);
    AddColumn(kInlinks, u"Inlinks"_s, 90, 3, CSkinListBox_Column::kFilterIntRange);
    AddColumn(kTrafficRank, u"Traffic rank"_s, 90, 3, CSkinListBox_Column::kFilterIntRange);
    AddColumn(kCreated, u"Domain created"_s, 100, 3);
}

void CProject4_Rep2::Show(int keyword, int engine) {
    m_keyword = keyword;
    m_engine = engine;
    UpdateItemCount();
    InvalidateContent();
}

void CProject4_Rep2::UpdateItemCount() {
    const auto& keywords = m_data.Keywords();
    const bool shown = m_keyword >= 0 && static_cast<std::size_t>(m_keyword) < keywords.size();
    m_itemCount =
        shown ? static_cast<int>(keywords[static_cast<std::size_t>(m_keyword)].top[m_engine].size()) : 0;
    CKindReport::UpdateItemCount();
}

const CDownloader_Parsers_SE_result& CProject4_Rep2::Result(int item) const {
    return m_data.Keywords()[static_cast<std::size_t>(m_keyword)]
        .top[m_engine][static_cast<std::size_t>(item)];
}

const CProject4_Site* CProject4_Rep2::SiteOf(int item) const {
    return m_data.SiteFor(Result(item).full_url);
}

int CProject4_Rep2::SortValue(int item) const {
    const CProject4_Site* site = SiteOf(item);
    if (!site)
        return task_value::kNoData;
    switch (m_sortColumn) {
    case kPageRank:
        return site->pageRank;
    case kInlinks:
        return site->inlinks;
    case kTrafficRank:
        return site->trafficRank;
    default: {
        // A whois date that reads as no date sorts with the no-data values.
        const int ymd = Project4CreationYmd(site->created);
        return site->created == kNotAsked ? kNotAsked : (ymd == 0 ? task_value::kNoData : ymd);
    }
    }
}

int CProject4_Rep2::CompareItems(int a, int b) {
    if (const std::optional<int> order = CompareByKey(a, b))
        return *order;
    switch (m_sortColumn) {
    case kTitle:
        return skin::fold::CompareFolded(Result(a).title, Result(b).title);
    case kUrl:
        return skin::fold::CompareFolded(Result(a).full_url, Result(b).full_url);
    default:
        return (a > b) - (a < b);
    }
}

bool CProject4_Rep2::IsItemVisible(int item) {
    const CDownloader_Parsers_SE_result& result = Result(item);
    const CProject4_Site* site = SiteOf(item);
    return FilterAcceptsInt(kPosition, result.pos) && FilterAcceptsText(kTitle, result.title) &&
           FilterAcceptsText(kUrl, FilterWords(result.full_url)) &&
           FilterAcceptsInt(kPageRank, site ? site->pageRank : task_value::kNoData) &&
           FilterAcceptsInt(kInlinks, site ? site->inlinks : task_value::kNoData) &&
           FilterAcceptsInt(kTrafficRank, site ? site->trafficRank : task_value::kNoData);
}

void CProject4_Rep2::GetItemText(CSkinListBox_Line& line) {
    const CDownloader_Parsers_SE_result& result = Result(line.item);
    const CProject4_Site* site = SiteOf(line.item);
    AddNumberCell(line, IntText(result.pos), kPosition);
    AddTextCell(line, result.title, kTitle);
    AddTextCell(line, result.full_url, kUrl);
    static const CFailedTasks kNoSite;
    const CFailedTasks& failed = site ? site->failed : kNoSite;
    const auto cell = [&](int value, int column, Project4Request request) {
        AddTaskCell(line, IntText(value), column, failed, static_cast<int>(request));
    };
    cell(site ? site->pageRank : task_value::kNoData, kPageRank, Project4Request::PageRank);
    cell(site ? site->inlinks : task_value::kNoData, kInlinks, Project4Request::Inlinks);
    cell(site ? site->trafficRank : task_value::kNoData, kTrafficRank, Project4Request::Traffic);
    QString created = CKindReport::kNoData;
    if (site && site->created == kNotAsked)
        created.clear();
    else if (site && Project4CreationYmd(site->created) != 0)
        created = Project4CreationText(site->created);
    AddTaskCell(line, created, kCreated, failed, static_cast<int>(Project4Request::Whois));
    FinishLine(line);
}
