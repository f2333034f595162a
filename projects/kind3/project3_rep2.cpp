#include "projects/kind3/project3_rep2.h"

#include "app/skin_ad_display_dlg.h"
#include "core/packed_minutes.h"
#include "projects/common/ad_text.h"
#include "projects/common/search_engine.h"
#include "skin/case_fold.h"

using namespace Qt::StringLiterals;

CProject3_Rep2::CProject3_Rep2(const std::vector<CProject3_Ad>& ads) : CKindReport(3, 1), m_ads(ads) {
    SetIntKey(
        kSeen, [this](int item) { return AdOf(item).seen; });
}

void CProject3_Rep2::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CKindReport::SetupColumns(holder, id);
    AddColumn(kEngine, u"Engine"_s, 70);
    AddColumn(kTitle, u"Title"_s, 200);
    AddColumn(kText, u"Text"_s, 300);
    AddColumn(kShownUrl, u"Shown URL"_s, 180);
    AddColumn(kSeen, u"Seen"_s, 120);
    m_sortColumn = kSeen;
    m_sortDirection = 1;
}

void CProject3_Rep2::UpdateItemCount() {
    m_itemCount = static_cast<int>(m_shown.size());
    CKindReport::UpdateItemCount();
}

int CProject3_Rep2::CompareItems(int a, int b) {
    const CProject3_Ad& x = AdOf(a);
    const CProject3_Ad& y = AdOf(b);
    if (const std::optional<int> order = CompareByKey(a, b))
        return *order;
    switch (m_sortColumn) {
    case kEngine:
        return EngineName(x.engine).compare(EngineName(y.engine));
    case kTitle:
        return skin::fold::CompareFolded(x.ad.title, y.ad.title);
    case kText:
        return CompareAdTextsOneLine(x.ad, y.ad);
    case kShownUrl:
        return skin::fold::CompareFolded(x.ad.show_url, y.ad.show_url);
    default:
        return 0;
    }
}

void CProject3_Rep2::GetItemText(CSkinListBox_Line& line) {
    const CProject3_Ad& a = AdOf(line.item);
    AddTextCell(line, EngineName(a.engine), kEngine);
    AddTextCell(line, a.ad.title, kTitle, CSkinListBox_Item::kLink, kPreviewLink);
    AddTextCell(line, AdTextOneLine(a.ad), kText);
    AddTextCell(line, a.ad.show_url, kShownUrl);
    AddTextCell(line, FormatMinutes(a.seen), kSeen);
    FinishLine(line);
}

void CProject3_Rep2::OnItemClick(int x, int y) {
    // Only the title is a link: a press elsewhere on the row just selects it.
    const CSkinListBox_Line* line = HoveredLine();
    const int cell = HoverCell();
    if (!line || !GetDialog() || cell < 0 || static_cast<std::size_t>(cell) >= line->cells.size() ||
        line->cells[static_cast<std::size_t>(cell)].linkId != kPreviewLink)
        return;
    CSkinAdDisplay_Dlg preview(GetDialog(), this, x, y);
    preview.m_display.SetAd(AdOf(line->item).ad);
    preview.DoModal();
}
