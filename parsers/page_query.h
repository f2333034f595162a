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

} // namespace page_query
