#include "projects/kind8/project8_result.h"

#include "net/html_tags.h"

using namespace Qt::StringLiterals;

namespace {

const QString kEngineKey = u"engine"_s;
const QString kQueryKey = u"query"_s;

} // namespace

void CProject8_Result::WriteXml(CDownloader_HTMLTags& node) const {
    node.AddChild(kEngineKey, true)->SetInt(engine);
    node.AddChild(kQueryKey, true)->SetInt(query);
    result.WriteXml(node);
}

bool CProject8_Result::ReadXml(const CDownloader_HTMLTags* node) {
    if (!node)
        return false;
    const CDownloader_HTMLTags* engineNode = node->FindFirst({.tag = kEngineKey});
    const CDownloader_HTMLTags* queryNode = node->FindFirst({.tag = kQueryKey});
    CDownloader_HTMLTags::GetInt(engineNode, engine, 0);
    CDownloader_HTMLTags::GetInt(queryNode, query, 0);
    return result.ReadXml(node) || engineNode || queryNode;
}
