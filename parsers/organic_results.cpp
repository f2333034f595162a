#include "parsers/organic_results.h"

#include "parsers/page_query.h"
#include "parsers/result_text.h"

using namespace Qt::StringLiterals;
using namespace page_query;

namespace organic_results {

void Read(const CDownloader_HTMLTags& page, const Layout& layout, int firstShown,
          QString (*linkTarget)(const QString&), std::vector<CDownloader_Parsers_SE_result>& out) {
    out.clear();
    int position = firstShown < 1 ? 1 : firstShown;
    std::vector<const CDownloader_HTMLTags*> items;
    AppendItemsOf(page.FindFirst(layout.list), items);
    out.resize(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const CDownloader_HTMLTags* item = items[i];
        const CDownloader_HTMLTags* heading = FindIn(item, {.tag = u"H3"_s});
        CDownloader_Parsers_SE_result& record = out[i];
        record.title = TextOf(heading);
        const QString href = AttributeOf(FindIn(heading, {.tag = u"A"_s}), u"href"_s);
        record.full_url = linkTarget ? linkTarget(href) : href;
        record.show_url = result_text::CutAt(TextOf(FindIn(item, layout.shownUrl)), u" - "_s);
        record.body = SnippetOf(FindIn(item, layout.snippet));
        record.pos = position++;
        result_text::CleanBodyAndSplitLines(record);
    }
}

} // namespace organic_results
