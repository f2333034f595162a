#include "parsers/page_query.h"

#include "parsers/result_text.h"

using namespace Qt::StringLiterals;

namespace page_query {

QString TextOf(const CDownloader_HTMLTags* node) {
    return node ? node->GetInnerText(false) : QString();
}

QString SnippetOf(const CDownloader_HTMLTags* node) {
    static const QString kExclusions = QString::fromUtf16(result_text::kSnippetExclusions);
    return node ? node->GetInnerText(true, kExclusions) : QString();
}

QString AttributeOf(const CDownloader_HTMLTags* node, const QString& name) {
    return node ? node->GetAttribute(name) : QString();
}

const CDownloader_HTMLTags* FindIn(const CDownloader_HTMLTags* node, const FindCriteria& criteria) {
    return node ? node->FindFirst(criteria) : nullptr;
}

void AppendItemsOf(const CDownloader_HTMLTags* node, std::vector<const CDownloader_HTMLTags*>& items) {
    if (node)
        node->FindAll(items, {.tag = u"LI"_s}, false);
}

AdItems CollectAdItems(const CDownloader_HTMLTags& page, const FindCriteria& blocks,
                       const FindCriteria& side) {
    std::vector<const CDownloader_HTMLTags*> found;
    page.FindAll(found, blocks);
    AdItems ads;
    if (!found.empty())
        AppendItemsOf(found[0], ads.items);
    ads.topCount = ads.items.size();
    AppendItemsOf(page.FindFirst(side), ads.items);
    ads.sideEnd = ads.items.size();
    for (size_t block = 1; block < found.size(); ++block)
        AppendItemsOf(found[block], ads.items);
    return ads;
}

} // namespace page_query
