#include "projects/kind5/project5_rep.h"

#include "core/packed_minutes.h"
#include "platform/keys.h"
#include "skin/case_fold.h"
#include "skin/skin_dlg_base.h"

#include <array>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// No check shown: sorts with the values not asked.
constexpr int kNoCheck = task_value::kNotAsked;
// "Not shown" sorts after every real position.
constexpr int kNotShownKey = std::numeric_limits<int>::max();
constexpr plat::ColorRef kShownColor = plat::Rgb(0, 120, 40);
constexpr plat::ColorRef kNotShownColor = plat::Rgb(150, 150, 150);

struct ColumnInfo {
    CProject5_Rep::Column id;
    const char16_t* title;
    int width;
    int filterType;
};

constexpr ColumnInfo kColumns[] = {
    {CProject5_Rep::kKeyword, u"Keyword", 200, CSkinListBox_Column::kFilterOneValueContains},
    {CProject5_Rep::kSite, u"Site", 160, CSkinListBox_Column::kFilterOneValueContains},
    {CProject5_Rep::kGoogle, u"Google", 70, CSkinListBox_Column::kFilterIntRange},
    {CProject5_Rep::kBing, u"Bing", 70, CSkinListBox_Column::kFilterIntRange},
    {CProject5_Rep::kYahoo, u"Yahoo", 70, CSkinListBox_Column::kFilterIntRange},
    {CProject5_Rep::kLastCheck, u"Last check", 120, CSkinListBox_Column::kNoFilter},
};

QString PositionText(int position) {
    if (position == CProject5_Check::kNotShown)
        return u"Not shown"_s;
    if (position < 0)
        return CKindReport::kNoData;
    // Ads stand on the first few places: their texts are made once, not for every cell of every row.
    static const std::array<QString, 16> kFirstPlaces = [] {
        std::array<QString, 16> texts;
        for (size_t i = 0; i < texts.size(); ++i)
            texts[i] = QString::number(i);
        return texts;
    }();
    return size_t(position) < kFirstPlaces.size() ? kFirstPlaces[size_t(position)]
                                                  : QString::number(position);
}

} // namespace

CProject5_Rep::CProject5_Rep(const std::vector<CProject5_Entry>& entries) : CRecordReport(5, 0, entries) {
    SetTextKey(kSite, [this](int item) -> const QString& { return RecordOf(item).m_site; });
    for (const int column : {kGoogle, kBing, kYahoo})
        SetIntKey(column, [this, column](int item) { return PositionKey(item, column - kGoogle); });
    SetIntKey(kLastCheck, [this](int item) {
        const CProject5_Check* check = ShownCheck(item);
        return check ? check->m_date : kNoCheck;
    });
}

void CProject5_Rep::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CKindReport::SetupColumns(holder, id);
    for (const ColumnInfo& column : kColumns) {
        const bool text = column.id == kKeyword || column.id == kSite;
        AddColumn(column.id, QString::fromUtf16(column.title), column.width, text ? 1 : 2, column.filterType);
        m_columns.back().intMax = 10;
    }
    m_visibilityByFiltersOnly = true;
    m_sortColumn = kKeyword;
}

const CProject5_Check* CProject5_Rep::ShownCheck(int item) const {
    const CProject5_Entry& entry = RecordOf(item);
    if (!m_day.isValid())
        return entry.LastCheck();
    if (!m_dayChecks || m_dayChecks->Day() != m_day)
        m_dayChecks.emplace(m_day);
    return entry.LastCheckOn(*m_dayChecks);
}

void CProject5_Rep::UpdateItemCount() {
    m_dayChecks.reset();
    CRecordReport::UpdateItemCount();
}

void CProject5_Rep::ForgetSelection() {
    m_itemCount = 0;
    CSkinListBox::UpdateItemCount();
    UpdateItemCount();
}

int CProject5_Rep::PositionKey(int item, int engine) const {
    const CProject5_Check* check = ShownCheck(item);
    if (!check)
        return kNoCheck;
    const int position = check->m_positions[engine];
    return position == CProject5_Check::kNotShown ? kNotShownKey : position;
}

int CProject5_Rep::CompareItems(int a, int b) {
    const CProject5_Entry& x = RecordOf(a);
    const CProject5_Entry& y = RecordOf(b);
    if (const std::optional<int> order = CompareByKey(a, b))
        return *order;
    if (m_sortColumn == kKeyword)
        return skin::fold::CompareFolded(x.m_keyword, y.m_keyword);
    return 0;
}

bool CProject5_Rep::IsItemVisible(int item) {
    const CProject5_Entry& entry = RecordOf(item);
    if (!FilterAcceptsText(kKeyword, entry.m_keyword) || !FilterAcceptsText(kSite, entry.m_site))
        return false;
    for (int engine = 0; engine < CProject5_Check::kEngineCount; ++engine)
        if (!FilterAcceptsInt(kGoogle + engine, PositionKey(item, engine)))
            return false;
    return true;
}

void CProject5_Rep::GetItemText(CSkinListBox_Line& line) {
    const CProject5_Entry& entry = RecordOf(line.item);
    AddTextCell(line, entry.m_keyword, kKeyword);
    AddTextCell(line, entry.m_site, kSite);
    const CProject5_Check* check = ShownCheck(line.item);
    for (int engine = 0; engine < CProject5_Check::kEngineCount; ++engine) {
        const int position = check ? check->m_positions[engine] : kNoCheck;
        const plat::ColorRef color = position > 0                             ? kShownColor
                                     : position == CProject5_Check::kNotShown ? kNotShownColor
                                                                              : CSkinListBox_Item::kLineColor;
        static const CFailedTasks kUnchecked;
        AddTaskCell(line, check ? PositionText(position) : QString(), kGoogle + engine,
                    check ? check->m_failed : kUnchecked, engine, 2, color);
    }
    const QString never = m_day.isValid() ? QString() : u"Not checked yet"_s;
    AddCell(line, check ? FormatMinutes(check->m_date) : never, 0, 0, kLastCheck, 65535,
            CSkinListBox_Item::kText, 0, 2);
    FinishLine(line);
}

QString CProject5_Rep::ItemKeyword(int item) const {
    return RecordOf(item).m_keyword;
}

bool CProject5_Rep::OnKey(int vk) {
    if (vk != plat::kKeyDelete || !m_pDlg)
        return false;
    m_pDlg->OnCommand(kDeleteCommand, 0);
    return true;
}
