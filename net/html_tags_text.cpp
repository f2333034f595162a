#include "core/limits.h"
#include "net/html_tag_name.h"
#include "net/html_tags.h"

#include <algorithm>
#include <vector>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
constexpr int kIndentStep = 3;

// Escapes a value so the forgiving reader gives it back exactly: markup characters become entities, and the
// white space the reader would fold (line breaks, tabs, the second blank of a run) becomes a reference.
void appendEscaped(QString& out, QStringView text) {
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'\r':
            out += u"&#13;";
            break;
        case u'\n':
            out += u"&#10;";
            break;
        case u'\t':
            out += u"&#9;";
            break;
        case u' ':
            if (i > 0 && text.at(i - 1) == u' ')
                out += u"&#32;";
            else
                out += c;
            break;
        default:
            out += c;
        }
    }
}

bool endTagOnOwnLine(const CDownloader_HTMLTags& node) {
    const auto& children = node.GetChildren();
    return children.size() >= 2 || (children.size() == 1 && !children.front().IsTextNode());
}

// Writes one node and its subtree without recursion: hostile pages nest deeper than any stack allows.
void writeNode(QString& out, const CDownloader_HTMLTags& top, const QString& indent,
               CDownloader_HTMLTags::Escaping escaping) {
    struct Frame {
        const CDownloader_HTMLTags* node;
        qsizetype depth;
        size_t nextChild;
    };
    auto writeIndent = [&](qsizetype depth) {
        out += indent;
        out.append(QString(std::min<qsizetype>(depth, limits::kMaxIndentDepth) * kIndentStep, u' '));
    };
    // Writes what comes before a node's children; returns true when the node is an element to descend into.
    auto open = [&](const CDownloader_HTMLTags& node, qsizetype depth) {
        if (node.IsTextNode()) {
            if (node.IsComment())
                return false;
            if (escaping == CDownloader_HTMLTags::Escaping::Values)
                appendEscaped(out, node.GetTextView());
            else
                out += node.GetTextView();
            return false;
        }
        out += kLineBreak;
        writeIndent(depth);
        out += node.GetTextView();
        return true;
    };
    auto close = [&](const CDownloader_HTMLTags& node, qsizetype depth) {
        if (!node.IsClosed())
            return;
        if (endTagOnOwnLine(node)) {
            out += kLineBreak;
            writeIndent(depth);
        }
        out += u"</";
        out += rawTagName(node.GetTextView());
        out += u'>';
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
    QString out;
    for (const CDownloader_HTMLTags& child : m_children)
        writeNode(out, child, indent, escaping);
    return out;
}

QString CDownloader_HTMLTags::Serialize(const QString& indent, Escaping escaping) const {
    QString out;
    writeNode(out, *this, indent, escaping);
    return out;
}
