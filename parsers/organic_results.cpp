#include "parsers/organic_results.h"

#include "parsers/page_query.h"
#include "parsers/result_text.h"

#include <limits>

using namespace Qt::StringLiterals;
using namespace page_query;

namespace organic_results {

void Read(const CDownloader_HTMLTags& page, const Layout& layout, int firstShown,
          QString (*linkTarget)(const QString&), std::vector<CDownloader_Parsers_SE_result>& out) {
    out.clear();
    std::vector<const CDownloader_HTMLTags*> items;
    AppendItemsOf(page.FindFirst(layout.list), items);
    // A first number too large to number every item on from is no count line a page really shows.
    const bool numberable = firstShown >= 1 && firstShown - 1 <= std::numeric_limits<int>::max() -
                                                                     static_cast<qint64>(items.size());
    const int first = numberable ? firstShown : 1;
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
        record.pos = first + static_cast<int>(i);
        result_text::CleanBodyAndSplitLines(record);
    }
}

} // namespace organic_results
