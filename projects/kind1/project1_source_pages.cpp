#include "projects/kind1/project1_source_pages.h"

#include "core/number_text.h"
#include "net/html_tags.h"
#include "projects/common/task_values.h"

using namespace Qt::StringLiterals;

namespace project1_pages {

namespace {

QString CellText(const CDownloader_HTMLTags& cell) {
    return cell.GetInnerText(false).simplified();
}

void AppendKeyword(const QString& keyword, float searches,
                   std::vector<CDownloader_Parsers_Adwords_result>& out) {
    if (keyword.isEmpty())
        return;
    CDownloader_Parsers_Adwords_result row;
    row.keyword = keyword;
    row.estimatedSearch = searches;
    out.push_back(row);
}

} // namespace

void ParseFreeSuggestions(const CDownloader_HTMLTags& page,
                          std::vector<CDownloader_Parsers_Adwords_result>& out) {
    const CDownloader_HTMLTags* table = page.FindFirst({.tag = u"table"_s, .className = u"suggestions"_s});
    if (!table)
        return;
    std::vector<const CDownloader_HTMLTags*> rows;
    table->FindAll(rows, {.tag = u"tr"_s});
    for (const CDownloader_HTMLTags* row : rows) {
        std::vector<const CDownloader_HTMLTags*> cells;
        row->FindAll(cells, {.tag = u"td"_s});
        if (cells.size() < 2)
            continue;
        QString count = CellText(*cells[0]);
        count.remove(u',');
        const std::optional<int> searches = number_text::ReadInt(count);
        AppendKeyword(CellText(*cells[1]),
                      searches && *searches >= 0 ? float(*searches) : float(task_value::kNotAsked), out);
    }
}

void ParseAskRelated(const CDownloader_HTMLTags& page, std::vector<CDownloader_Parsers_Adwords_result>& out) {
    const CDownloader_HTMLTags* block = page.FindFirst({.tag = u"div"_s, .className = u"related"_s});
    if (!block)
        return;
    std::vector<const CDownloader_HTMLTags*> links;
    block->FindAll(links, {.tag = u"a"_s});
    for (const CDownloader_HTMLTags* link : links)
        AppendKeyword(CellText(*link), task_value::kNotAsked, out);
}

} // namespace project1_pages
