#pragma once

#include "net/html_tags.h"

#include <QString>
#include <vector>

// Queries of the result parsers that tolerate a missing node: every text and attribute query on one gives
// empty text, and a search inside one finds nothing.
namespace page_query {

QString TextOf(const CDownloader_HTMLTags* node);
// The text with line breaks, leaving out the elements a snippet or ad text does not show (cite, table, a).
QString SnippetOf(const CDownloader_HTMLTags* node);
QString AttributeOf(const CDownloader_HTMLTags* node, const QString& name);
const CDownloader_HTMLTags* FindIn(const CDownloader_HTMLTags* node, const FindCriteria& criteria);
// Every LI inside node, appended to items.
void AppendItemsOf(const CDownloader_HTMLTags* node, std::vector<const CDownloader_HTMLTags*>& items);

// The ads of a result page laid out as a top block, a side block and further blocks like the top one.
struct AdItems {
    std::vector<const CDownloader_HTMLTags*> items;
    size_t topCount = 0;
    size_t sideEnd = 0;

    // The block of the i-th item: 1 top, 2 side, 3 a further one.
    int BlockOf(size_t i) const { return i < topCount ? 1 : (i < sideEnd ? 2 : 3); }
};
// The LI of the first block that matches blocks, then those of the first side block, then those of every
// further block.
AdItems CollectAdItems(const CDownloader_HTMLTags& page, const FindCriteria& blocks,
                       const FindCriteria& side);

} // namespace page_query
