#include "net/html_tag_name.h"
#include "net/html_tags.h"

#include <algorithm>

namespace {

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// Case folding maps code unit to code unit, so a pair of ASCII letters that differ decides at once; only a
// name outside ASCII needs the full comparison.
bool SameName(QStringView tagName, QStringView name) {
    if (tagName.size() != name.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t a = tagName.utf16()[i];
        const char16_t b = name.utf16()[i];
        if ((a | b) >= 0x80)
            return tagName.compare(name, Qt::CaseInsensitive) == 0;
        if (AsciiLower(a) != AsciiLower(b))
            return false;
    }
    return true;
}

// The const and the mutable lookup in one.
template <typename Node> Node* FirstChildNamed(Node& node, QStringView name) {
    for (Node& child : node.GetChildren())
        if (child.IsElementNamed(name))
            return &child;
    return nullptr;
}

} // namespace

bool CDownloader_HTMLTags::IsElementNamed(QStringView name) const {
    return !IsTextNode() && SameName(RawTagName(m_text.View()), name);
}

const CDownloader_HTMLTags* CDownloader_HTMLTags::FindChild(QStringView name) const {
    return FirstChildNamed(*this, name);
}

CDownloader_HTMLTags* CDownloader_HTMLTags::FindChild(QStringView name) {
    return FirstChildNamed(*this, name);
}

void CDownloader_HTMLTags::FindChildren(std::span<const QString> names,
                                        std::span<const CDownloader_HTMLTags*> first) const {
    std::fill(first.begin(), first.end(), nullptr);
    for (const CDownloader_HTMLTags& child : m_children) {
        if (child.IsTextNode())
            continue;
        const QStringView tagName = RawTagName(child.m_text.View());
        for (std::size_t i = 0; i < names.size() && i < first.size(); ++i)
            if (!first[i] && SameName(tagName, names[i]))
                first[i] = &child;
    }
}
