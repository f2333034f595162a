#include "projects/common/kind_report.h"

#include "net/crawler.h"
#include "projects/common/failed_tasks.h"
#include "projects/common/record_xml.h"
#include "projects/common/task_values.h"
#include "projects/project_factory.h"
#include "skin/commands.h"
#include "skin/folded_string_set.h"
#include "skin/list_box_format.h"
#include "skin/sorted_strings.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Kind 5 has no input page, so it takes no keywords.
constexpr int kKeywordKinds[] = {1, 2, 3, 4, 6, 7, 8};
// Kinds 3 and 8 follow one keyword.
constexpr int kSingleKeywordKinds[] = {3, 8};
constexpr int kAnyWidth = 65535;

} // namespace

QString KindName(int kind) {
    const std::unique_ptr<CProject> project = NewProjectOfKind(kind, 0);
    if (!project)
        return {};
    project->InitInfo();
    return project->m_name;
}

CKindReport::CKindReport(int kind, int index)
    : m_kind(kind), m_index(index), m_copyCommand(u"prj"_s + QString::number(kind) + u"_copy"_s) {
    m_wholeCellHits = true;
}

void CKindReport::AddColumn(int id, const QString& title, int width, int headerAlign, int filterType) {
    CSkinListBox_Column column;
    column.id = id;
    column.title = title;
    column.width = width;
    column.headerAlign = headerAlign;
    column.filterType = filterType;
    m_columns.push_back(column);
}

void CKindReport::AddTextCell(CSkinListBox_Line& line, const QString& text, int columnId, int kind,
                              int linkId) {
    AddCell(line, text, 0, 0, columnId, kAnyWidth, kind, linkId, 1);
}

void CKindReport::AddNumberCell(CSkinListBox_Line& line, const QString& text, int columnId) {
    AddCell(line, text, 0, 0, columnId, kAnyWidth, CSkinListBox_Item::kText, 0, 3);
}

void CKindReport::AddTaskCell(CSkinListBox_Line& line, const QString& text, int columnId,
                              const CFailedTasks& failed, int task, int align, plat::ColorRef color) {
    if (failed.IsFailed(task))
        AddCell(line, CFailedTasks::kCellText, 0, 0, columnId, kAnyWidth, CSkinListBox_Item::kText, 0, align,
                kFailedColor, failed.Error(task));
    else
        AddCell(line, text, 0, 0, columnId, kAnyWidth, CSkinListBox_Item::kText, 0, align, color);
}

void CKindReport::SetIntKey(int columnId, std::function<int(int item)> value, bool invert) {
    m_sortKeys.emplace_back(
        columnId,
        [value = std::move(value), invert](int item, CSkinListBox_SortKey& key) {
            key.kind = CSkinListBox_SortKey::kInt;
            key.invert = invert;
            key.intValue = value(item);
        });
}

void CKindReport::SetFloatKey(int columnId, std::function<float(int item)> value) {
    m_sortKeys.emplace_back(
        columnId,
        [value = std::move(value)](int item, CSkinListBox_SortKey& key) {
            key.kind = CSkinListBox_SortKey::kFloat;
            key.floatValue = value(item);
        });
}

void CKindReport::SetTextKey(int columnId, std::function<const QString&(int item)> value) {
    m_sortKeys.emplace_back(
        columnId,
        [value = std::move(value)](int item, CSkinListBox_SortKey& key) {
            key.kind = CSkinListBox_SortKey::kText;
            key.text = &value(item);
        });
}

const CKindReport::KeyOf* CKindReport::SortKeyOf(int columnId) const {
    for (const auto& [column, keyOf] : m_sortKeys)
        if (column == columnId)
            return &keyOf;
    return nullptr;
}

bool CKindReport::GetSortKey(int item, CSkinListBox_SortKey& key) {
    const KeyOf* keyOf = SortKeyOf(m_sortColumn);
    if (keyOf)
        (*keyOf)(item, key);
    return keyOf != nullptr;
}

std::optional<int> CKindReport::CompareByKey(int a, int b) {
    const KeyOf* keyOf = SortKeyOf(m_sortColumn);
    if (!keyOf)
        return std::nullopt;
    CSkinListBox_SortKey x;
    CSkinListBox_SortKey y;
    (*keyOf)(a, x);
    (*keyOf)(b, y);
    switch (x.kind) {
    case CSkinListBox_SortKey::kInt:
        return CompareInt(x.intValue, y.intValue, x.invert);
    case CSkinListBox_SortKey::kFloat:
        return CompareFloat(x.floatValue, y.floatValue);
    default:
        return x.text->compare(*y.text);
    }
}

void CKindReport::FinishLine(CSkinListBox_Line& line) const {
    line.rowFlag = true;
    if (IsSelected(line.item))
        line.background = kSelectedBackground;
}

QString CKindReport::IntText(int value) {
    if (value < task_value::kNotAsked)
        return kNoData;
    return FormatInt(value, task_value::kNotAsked, task_value::kNoData);
}

QString CKindReport::FloatText(float value, bool trimZeros) {
    if (value < task_value::kNotAsked || std::isnan(value))
        return kNoData;
    return FormatFloat(value, trimZeros, task_value::kNotAsked, task_value::kNoData);
}

QString CKindReport::FilterWords(const QString& text) {
    QString words = text;
    for (QChar& c : words)
        if (!c.isLetterOrNumber())
            c = u' ';
    return words;
}

QStringList CKindReport::SelectedKeywords() const {
    QStringList keywords;
    for (const int item : Order()) {
        if (!IsSelected(item))
            continue;
        const QString keyword = ItemKeyword(item);
        if (!keyword.isEmpty())
            keywords.append(keyword);
    }
    return keywords;
}

QString CKindReport::SelectionKey() const {
    return u"rep"_s + QString::number(m_index + 1) + u"_selected"_s;
}

void CKindReport::SaveSelection(CDownloader_HTMLTags* root) {
    UpdateItemCount();
    record_xml::SaveValue(root, SelectionKey(), std::max(task_value::kNone, GetSingleSelection()));
}

void CKindReport::LoadSelection(const CDownloader_HTMLTags* root) {
    UpdateItemCount();
    const int item = record_xml::LoadInt(root, SelectionKey(), task_value::kNone);
    if (item >= 0 && item < m_itemCount)
        SelectRange(item, item);
}

std::vector<skin::ContextMenuItem> CKindReport::ContextMenuItems() const {
    std::vector<skin::ContextMenuItem> items{{u"Copy"_s, m_copyCommand, m_index}};
    const QStringList keywords = SelectedKeywords();
    if (keywords.isEmpty())
        return items;
    for (const int kind : kKeywordKinds) {
        if (kind == m_kind)
            continue;
        const bool single = std::find(std::begin(kSingleKeywordKinds), std::end(kSingleKeywordKinds), kind) !=
                            std::end(kSingleKeywordKinds);
        const QStringList sent = single ? keywords.mid(0, 1) : keywords;
        QString command = skin::cmd::kNewProject + QString::number(kind);
        for (const QString& keyword : sent)
            command += keyword + u';';
        items.push_back({u"Send to "_s + KindName(kind), command, 0});
    }
    return items;
}

void CKindReport::OnContextMenu(int x, int y) {
    skin::RunContextMenu(*this, x, y, ContextMenuItems());
}

void CKindReport::GetFilterInfo(CSkinListBox_Column* column, QStringList& labels) {
    switch (column->filterType) {
    case CSkinListBox_Column::kFilterIncludeExclude:
        labels = {u"Show rows with:"_s, u"Hide rows with:"_s};
        return;
    case CSkinListBox_Column::kFilterExactValues:
    case CSkinListBox_Column::kFilterContainedValues:
    case CSkinListBox_Column::kFilterOneValue:
    case CSkinListBox_Column::kFilterOneValueContains:
        break;
    default:
        return;
    }
    labels = {u"Show rows with:"_s, u"Contains the text"_s};
    int columnIndex = task_value::kNone;
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (&m_columns[i] == column)
            columnIndex = int(i);
    // Every row the report holds, those the filters hide as well, as the last rebuild counted them. Each
    // value is kept once, as first met, while its row is at hand: a second pass over a large report's texts
    // would read them all from memory again.
    QStringList texts;
    skin::FoldedStringSet seen;
    CSkinListBox_Line line;
    line.textsOnly = true;
    for (int item = 0; item < m_itemCount; ++item) {
        line.item = item;
        line.cells.clear();
        GetItemText(line);
        const QString text = CellText(line, columnIndex);
        if (!text.isEmpty() && seen.Insert(text))
            texts.append(text);
    }
    column->values2.clear();
    InsertSortedUnique(texts, column->values2, true, false);
}

bool CKindReport::OnCommand(const QString& command, int param) {
    if (command != m_copyCommand || param != m_index)
        return false;
    const QString text = SelectedRowsText();
    if (!text.isEmpty() && g_pCrawler)
        g_pCrawler->CopyTextToClipboard(text);
    return true;
}

QString CKindReport::SelectedRowsText() {
    return RowsText(true);
}

QString CKindReport::VisibleRowsText() {
    return RowsText(false);
}

QString CKindReport::RowsText(bool selectedOnly) {
    UpdateItemCount();
    QString text;
    CSkinListBox_Line line;
    line.textsOnly = true;
    for (int row = 0; row < VisibleCount(); ++row) {
        if (selectedOnly && !IsSelected(Order()[size_t(row)]))
            continue;
        InitLine(row, 0, 0, line);
        GetItemText(line);
        QStringList cells;
        for (int column = 0; column < int(m_columns.size()); ++column)
            if (m_columns[size_t(column)].exported)
                cells.append(CellText(line, column));
        text += cells.join(u'\t') + u"\r\n"_s;
    }
    return text;
}

QString CKindReport::CellText(const CSkinListBox_Line& line, int columnIndex) {
    for (const CSkinListBox_Item& cell : line.cells)
        if (cell.firstColumn == columnIndex)
            return cell.text;
    return {};
}
