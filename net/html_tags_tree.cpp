#include "net/html_tags.h"

#include <algorithm>
#include <utility>

// Copying and destroying work level by level with explicit work lists: a hostile page nests far deeper
// than the call stack allows.

CDownloader_HTMLTags::CDownloader_HTMLTags(const CDownloader_HTMLTags& other)
    : m_text(other.m_text), m_spanStart(other.m_spanStart), m_spanEnd(other.m_spanEnd) {
    std::vector<std::pair<const CDownloader_HTMLTags*, CDownloader_HTMLTags*>> work{{&other, this}};
    while (!work.empty()) {
        const auto [source, target] = work.back();
        work.pop_back();
        // Reserved up front, so the addresses pushed below stay valid while the level is filled.
        target->m_children.reserve(source->m_children.size());
        for (const CDownloader_HTMLTags& child : source->m_children) {
            CDownloader_HTMLTags& copy = target->m_children.emplace_back();
            copy.m_text = child.m_text;
            copy.m_text.SetOwnerBits(child.m_text.OwnerBits());
            copy.m_spanStart = child.m_spanStart;
            copy.m_spanEnd = child.m_spanEnd;
            if (!child.m_children.empty())
                work.emplace_back(&child, &copy);
        }
    }
}

CDownloader_HTMLTags& CDownloader_HTMLTags::operator=(const CDownloader_HTMLTags& other) {
    if (this != &other) {
        // Copied first: other may be part of this node's own subtree.
        CDownloader_HTMLTags copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CDownloader_HTMLTags& CDownloader_HTMLTags::operator=(CDownloader_HTMLTags&& other) noexcept {
    if (this == &other)
        return *this;
    // other may live inside this node's subtree, which is released below: take its content out first.
    HtmlNodeText text = std::move(other.m_text);
    std::vector<CDownloader_HTMLTags> children = std::move(other.m_children);
    other.m_children.clear();
    const int spanStart = other.m_spanStart;
    const int spanEnd = other.m_spanEnd;
    const quint32 flags = text.OwnerBits();

    ReleaseChildren();
    m_text = std::move(text);
    m_children = std::move(children);
    m_spanStart = spanStart;
    m_spanEnd = spanEnd;
    m_text.SetOwnerBits(flags);
    return *this;
}

void CDownloader_HTMLTags::ReleaseChildren() noexcept {
    const bool deep =
        std::any_of(m_children.begin(), m_children.end(),
                    [](const CDownloader_HTMLTags& child) { return !child.m_children.empty(); });
    if (!deep) {
        m_children.clear();
        return;
    }
    // Every node's children are moved out into the work list before the node dies, so no destructor
    // ever has a subtree to release.
    std::vector<std::vector<CDownloader_HTMLTags>> pending;
    pending.push_back(std::move(m_children));
    m_children.clear();
    while (!pending.empty()) {
        std::vector<CDownloader_HTMLTags> level = std::move(pending.back());
        pending.pop_back();
        for (CDownloader_HTMLTags& node : level) {
            if (!node.m_children.empty()) {
                pending.push_back(std::move(node.m_children));
                node.m_children.clear();
            }
        }
    }
}
