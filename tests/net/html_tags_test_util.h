#pragma once

#include "net/html_tags.h"
#include "tests/support/qstring_printer.h"

#include <QString>
#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

namespace html_test {

using Node = CDownloader_HTMLTags;

inline QString S(const char16_t* text) {
    return QString::fromUtf16(text);
}

inline Node Parse(const QString& text) {
    Node root;
    root.Parse(text);
    return root;
}

// The children of a node in one line, so a whole tree reads at a glance: a text node is 'text', a comment
// !'text', an open element its tag text alone, a closed element its tag text followed by {children}.
// Written without recursion so that it works on hostile depths too.
inline QString Dump(const Node& top) {
    struct Frame {
        const Node* node;
        std::size_t next;
    };
    QString out;
    std::vector<Frame> stack{{&top, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const auto& children = frame.node->GetChildren();
        if (frame.next == children.size()) {
            stack.pop_back();
            if (!stack.empty())
                out += u'}';
            continue;
        }
        const Node& child = children[frame.next++];
        if (child.IsTextNode()) {
            out += (child.IsComment() ? QStringLiteral("!'") : QStringLiteral("'")) + child.GetText() + u'\'';
        } else if (!child.IsClosed()) {
            out += child.GetText();
        } else {
            out += child.GetText() + u'{';
            stack.push_back({&child, 0});
        }
    }
    return out;
}

inline QString DumpParsed(const QString& text) {
    return Dump(Parse(text));
}

// Every field of every node in document order, for exact comparisons of whole trees.
inline QString DumpWithSpans(const Node& top) {
    QString out;
    std::vector<std::pair<const Node*, int>> stack{{&top, 0}};
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        // Concatenated, not arg()-formatted: node texts may hold "%1".
        out += QString::number(depth) + u'|' + node->GetText() + u'|' +
               QString::number(node->GetSpanStart()) + u'-' + QString::number(node->GetSpanEnd()) + u'|' +
               (node->IsClosed() ? u'c' : u'-') + (node->IsTextNode() ? u't' : u'-') +
               (node->IsComment() ? u'#' : u'-') + u'\n';
        const auto& children = node->GetChildren();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            stack.push_back({&*child, depth + 1});
    }
    return out;
}

// Depth of the deepest node below top (top itself is depth 0).
inline int DepthOf(const Node& top) {
    int deepest = 0;
    std::vector<std::pair<const Node*, int>> stack{{&top, 0}};
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        deepest = std::max(deepest, depth);
        for (const Node& child : node->GetChildren())
            stack.push_back({&child, depth + 1});
    }
    return deepest;
}

} // namespace html_test
