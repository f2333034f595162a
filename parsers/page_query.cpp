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

} // namespace page_query
