#include "projects/kind3/project3_rep2.h"

#include "app/skin_ad_display_dlg.h"
#include "core/packed_minutes.h"
#include "projects/common/search_engine.h"
#include "skin/case_fold.h"

using namespace Qt::StringLiterals;

QString AdTextOneLine(const CDownloader_Parsers_SE_result& ad) {
    return ad.body.simplified();
}

namespace {

// The units of a text as simplified() gives them, one at a time: the white space at both ends left out and
// each run of it inside as one blank.
class SimplifiedUnits {
  public:
    static constexpr int kEnd = -1;

    explicit SimplifiedUnits(QStringView text) : m_text(text) { SkipSpaces(); }
    // The next unit, or kEnd after the last.
    int Next() {
        if (m_blankDue) {
            m_blankDue = false;
            return u' ';
        }
        if (m_at == m_text.size())
            return kEnd;
        const char16_t unit = m_text[m_at++].unicode();
        const qsizetype runStart = m_at;
        SkipSpaces();
        m_blankDue = m_at > runStart && m_at < m_text.size();
        return unit;
    }

  private:
    void SkipSpaces() {
        while (m_at < m_text.size() && m_text[m_at].isSpace())
            ++m_at;
    }

    QStringView m_text;
    qsizetype m_at = 0;
    bool m_blankDue = false;
};

} // namespace

int CompareAdTextsOneLine(const CDownloader_Parsers_SE_result& a, const CDownloader_Parsers_SE_result& b) {
    SimplifiedUnits x(a.body);
    SimplifiedUnits y(b.body);
    char16_t beforeX = 0;
    char16_t beforeY = 0;
    for (;;) {
        const int ux = x.Next();
        const int uy = y.Next();
        if (ux < 0 || uy < 0)
            return ux == uy ? 0 : ux < 0 ? -1 : 1;
        // As in skin::fold::CompareFolded, equal units fold alike.
        if (ux != uy) {
            const int diff = int(skin::fold::FoldedCode(char16_t(ux), beforeX)) -
                             int(skin::fold::FoldedCode(char16_t(uy), beforeY));
            if (diff != 0)
                return diff;
        }
        beforeX = char16_t(ux);
        beforeY = char16_t(uy);
    }
}

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
