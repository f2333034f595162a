#include "projects/competition/project5_xml.h"

#include "net/html_tags.h"

namespace project5 {

bool IsElementNamed(const CDownloader_HTMLTags& node, const QString& name) {
    return !node.IsTextNode() && node.GetTagName(false).compare(name, Qt::CaseInsensitive) == 0;
}

const CDownloader_HTMLTags* DirectChild(const CDownloader_HTMLTags& node, const QString& name) {
    for (const CDownloader_HTMLTags& child : node.GetChildren())
        if (IsElementNamed(child, name))
            return &child;
    return nullptr;
}

} // namespace project5
