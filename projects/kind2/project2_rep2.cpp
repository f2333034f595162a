#include "projects/kind2/project2_rep2.h"

#include "app/skin_ad_display_dlg.h"
#include "projects/common/search_engine.h"
#include "skin/case_fold.h"
#include "skin/skin_dlg_base.h"

using namespace Qt::StringLiterals;

CProject2_Rep2::CProject2_Rep2(const std::vector<CProject2_Keyword>& records)
    : CKindReport(2, 1), m_records(records) {
    SetIntKey(
        kPosition, [this](int item) { return Ad(item).pos; });
}

void CProject2_Rep2::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CKindReport::SetupColumns(holder, id);
    AddColumn(kEngine, u"Engine"_s, 70, 1);
    AddColumn(kPosition, u"Position"_s, 60, 3);
    AddColumn(kTitle, u"Title"_s, 220, 1);
    AddColumn(kText, u"Text"_s, 360, 1);
    AddColumn(kShownUrl, u"Shown URL"_s, 180, 1);
}

void CProject2_Rep2::ShowKeyword(int index) {
    m_keyword = index >= 0 && index < int(m_records.size()) ? index : task_value::kNone;
    m_rows.clear();
    if (m_keyword >= 0) {
        for (int engine = 0; engine < kProject2Engines; ++engine) {
            const auto& ads = Keyword().engines[engine].ads;
            for (int i = 0; i < int(ads.size()); ++i)
                m_rows.push_back({Project2Engine(engine), i});
        }
    }
    InvalidateContent();
}

const CDownloader_Parsers_SE_result& CProject2_Rep2::Ad(int item) const {
    const Row& row = m_rows[size_t(item)];
    return Keyword().Engine(row.engine).ads[size_t(row.index)];
}

void CProject2_Rep2::UpdateItemCount() {
    m_itemCount = int(m_rows.size());
    CKindReport::UpdateItemCount();
}

int CProject2_Rep2::CompareItems(int a, int b) {
    const Row& x = m_rows[size_t(a)];
    const Row& y = m_rows[size_t(b)];
    if (const std::optional<int> order = CompareByKey(a, b))
        return *order;
    switch (m_sortColumn) {
    case kEngine:
        return int(x.engine) - int(y.engine);
    case kTitle:
        return skin::fold::CompareFolded(Ad(a).title, Ad(b).title);
    case kText:
        return skin::fold::CompareFolded(Ad(a).body, Ad(b).body);
    case kShownUrl:
        return skin::fold::CompareFolded(Ad(a).show_url, Ad(b).show_url);
    default:
        return 0;
    }
}

void CProject2_Rep2::GetItemText(CSkinListBox_Line& line) {
    const CDownloader_Parsers_SE_result& ad = Ad(line.item);
    AddTextCell(line, SearchEngineAt(int(m_rows[size_t(line.item)].engine)).Name(), kEngine);
    AddNumberCell(line, IntText(ad.pos), kPosition);
    AddTextCell(line, ad.title, kTitle, CSkinListBox_Item::kLink, kTitleLink);
    // One line in the grid: the ad's two lines side by side.
    AddTextCell(line, ad.body.simplified(), kText);
    AddTextCell(line, ad.show_url, kShownUrl);
    FinishLine(line);
}

void CProject2_Rep2::OnItemClick(int x, int y) {
    const CSkinListBox_Line* line = HoveredLine();
    if (line && HoverCell() >= 0 && line->cells[size_t(HoverCell())].linkId == kTitleLink)
        OpenPreview(line->item, x, y);
}

void CProject2_Rep2::OpenPreview(int item, int x, int y) {
    if (!m_pDlg || item < 0 || item >= int(m_rows.size()))
        return;
    CSkinAdDisplay_Dlg preview(m_pDlg, this, x, y);
    preview.m_pAtlasDC = m_pDlg->m_pAtlasDC;
    preview.m_display.SetAd(Ad(item));
    preview.DoModal();
}
