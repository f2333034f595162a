#include "projects/competition/project5_xml.h"

#include "net/html_tag_name.h"
#include "net/html_tags.h"

#include <algorithm>

namespace project5 {

namespace {

// Compared in place: a list of many pairs compares every element it holds with several names.
bool SameName(QStringView tagName, const QString& name) {
    return tagName.size() == name.size() && tagName.compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

bool IsElementNamed(const CDownloader_HTMLTags& node, const QString& name) {
    return !node.IsTextNode() && SameName(RawTagName(node.GetTextView()), name);
}

const CDownloader_HTMLTags* DirectChild(const CDownloader_HTMLTags& node, const QString& name) {
    for (const CDownloader_HTMLTags& child : node.GetChildren())
        if (IsElementNamed(child, name))
            return &child;
    return nullptr;
}

void FirstDirectChildren(const CDownloader_HTMLTags& node, std::span<const QString> names,
                         std::span<const CDownloader_HTMLTags*> first) {
    std::fill(first.begin(), first.end(), nullptr);
    for (const CDownloader_HTMLTags& child : node.GetChildren()) {
        if (child.IsTextNode())
            continue;
        const QStringView tagName = RawTagName(child.GetTextView());
        for (std::size_t i = 0; i < names.size() && i < first.size(); ++i)
            if (!first[i] && SameName(tagName, names[i]))
                first[i] = &child;
    }
}

bool IsWholeValue(const CDownloader_HTMLTags* value) {
    return !value || std::all_of(
                         value->GetChildren().begin(), value->GetChildren().end(),
                         [](const CDownloader_HTMLTags& child) { return child.IsTextNode(); });
}

} // namespace project5
