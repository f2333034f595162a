#include "projects/kind3/project3_ad.h"

#include "net/html_tags.h"

using namespace Qt::StringLiterals;

namespace {

const QString kEngineKey = u"engine"_s;
const QString kSeenKey = u"seen"_s;

} // namespace

void CProject3_Ad::WriteXml(CDownloader_HTMLTags& node) const {
    node.AddChild(kEngineKey, true)->SetInt(engine);
    node.AddChild(kSeenKey, true)->SetInt(seen);
    ad.WriteXml(node);
}

bool CProject3_Ad::ReadXml(const CDownloader_HTMLTags* node) {
    if (!node)
        return false;
    const CDownloader_HTMLTags* engineNode = node->FindFirst({.tag = kEngineKey});
    const CDownloader_HTMLTags* seenNode = node->FindFirst({.tag = kSeenKey});
    CDownloader_HTMLTags::GetInt(engineNode, engine, 0);
    CDownloader_HTMLTags::GetInt(seenNode, seen, 0);
    return ad.ReadXml(node) || engineNode || seenNode;
}
