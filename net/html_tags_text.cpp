#include "core/limits.h"
#include "net/html_tag_name.h"
#include "net/html_tags.h"
#include "net/saved_value_escaping.h"
#include "net/utf8_writer.h"

#include <algorithm>
#include <vector>

namespace {

using saved_markup::kIndentStep;
using saved_markup::Utf16Out;

bool EndTagOnOwnLine(const CDownloader_HTMLTags& node) {
    const auto& children = node.GetChildren();
    return children.size() >= 2 || (children.size() == 1 && !children.front().IsTextNode());
}

// Writes one node and its subtree without recursion: hostile pages nest deeper than any stack allows.
template <typename Out>
void WriteNode(Out& out, const CDownloader_HTMLTags& top, QStringView indent,
               CDownloader_HTMLTags::Escaping escaping) {
    struct Frame {
        const CDownloader_HTMLTags* node;
        qsizetype depth;
        size_t nextChild;
    };
    auto writeLineAndIndent = [&](qsizetype depth) {
        out.Append(u"\r\n");
        out.Append(indent);
        out.AppendSpaces(std::min<qsizetype>(depth, limits::kMaxIndentDepth) * kIndentStep);
    };
    // Prewritten markup stands at depth 0: each of its line breaks is followed by the indentation of its
    // own level below that, and written with the indentation of this depth added.
    auto writePrewritten = [&](QStringView markup, qsizetype depth) {
        const char16_t* chars = markup.utf16();
        const qsizetype size = markup.size();
        qsizetype from = 0;
        for (qsizetype at = 0; at + 1 < size; ++at) {
            if (chars[at] != u'\r' || chars[at + 1] != u'\n')
                continue;
            out.Append(markup.sliced(from, at - from));
            from = at + 2;
            while (from < size && chars[from] == u' ')
                ++from;
            writeLineAndIndent(depth + (from - at - 2) / kIndentStep);
            at = from - 1;
        }
        out.Append(markup.sliced(from));
    };
    // Writes what comes before a node's children; returns true when the node is an element to descend into.
    auto open = [&](const CDownloader_HTMLTags& node, qsizetype depth) {
        if (node.IsPrewritten()) {
            writePrewritten(node.GetTextView(), depth);
            return false;
        }
        if (node.IsTextNode()) {
            if (node.IsComment())
                return false;
            if (escaping == CDownloader_HTMLTags::Escaping::Values)
                saved_markup::AppendEscaped(out, node.GetTextView());
            else
                out.Append(node.GetTextView());
            return false;
        }
        writeLineAndIndent(depth);
        out.Append(node.GetTextView());
        return true;
    };
    auto close = [&](const CDownloader_HTMLTags& node, qsizetype depth) {
        if (!node.IsClosed())
            return;
        if (EndTagOnOwnLine(node))
            writeLineAndIndent(depth);
        out.Append(u"</");
        out.Append(RawTagName(node.GetTextView()));
        out.Append(u'>');
    };

    if (!open(top, 0))
        return;
    std::vector<Frame> stack{{&top, 0, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const auto& children = frame.node->GetChildren();
        if (frame.nextChild < children.size()) {
            const CDownloader_HTMLTags& child = children[frame.nextChild++];
            const qsizetype depth = frame.depth + 1;
            if (open(child, depth))
                stack.push_back({&child, depth, 0});
            continue;
        }
        close(*frame.node, frame.depth);
        stack.pop_back();
    }
}

} // namespace

QString CDownloader_HTMLTags::ToText(const QString& indent, Escaping escaping) const {
    QString text;
    Utf16Out out(text);
    for (const CDownloader_HTMLTags& child : m_children)
        WriteNode(out, child, indent, escaping);
    return text;
}

QString CDownloader_HTMLTags::Serialize(const QString& indent, Escaping escaping) const {
    QString text;
    Utf16Out out(text);
    WriteNode(out, *this, indent, escaping);
    return text;
}

void CDownloader_HTMLTags::ToUtf8Text(Escaping escaping, Utf8Writer& out) const {
    for (const CDownloader_HTMLTags& child : m_children)
        WriteNode(out, child, QStringView(), escaping);
}
