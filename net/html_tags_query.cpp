#include "net/html_tag_name.h"
#include "net/html_tags.h"

#include <QVarLengthArray>

namespace {

using Node = CDownloader_HTMLTags;

// Attributes may be separated by any of these, not only by spaces (a lone LF survives normalisation).
bool IsAttributeSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QStringView TrimmedOf(QStringView text, char16_t quote) {
    auto strip = [quote](char16_t c) { return quote == u' ' ? IsAttributeSpace(c) : c == quote; };
    while (!text.isEmpty() && strip(text.front().unicode()))
        text = text.sliced(1);
    while (!text.isEmpty() && strip(text.back().unicode()))
        text.chop(1);
    return text;
}

// The criteria of one FindAll or FindFirst call, prepared once for the whole walk.
class Criteria {
  public:
    explicit Criteria(const FindCriteria& wanted)
        : m_hasTag(!wanted.tag.isEmpty()), m_tag(wanted.tag), m_id(wanted.id), m_name(wanted.name),
          m_attribute(wanted.attribute) {
        if (!wanted.className.isEmpty())
            m_class = u' ' + wanted.className.toLower() + u' ';
    }

    // Only parsed elements take part. An element that starts at the first character of the text has span
    // start 0 but a non-zero span end, so it is found; nodes built by AddChild have neither.
    static bool TakesPart(const Node& node) {
        return !node.GetTextView().isEmpty() && node.GetSpanEnd() != 0 && !node.IsTextNode();
    }

    // Tested in this order: tag, id, name, attribute, class.
    bool Matches(const Node& node) const {
        if (m_hasTag && !m_tag.Matches(node.GetTextView()))
            return false;
        if (!m_id.isEmpty() &&
            node.GetAttribute(QStringLiteral("ID")).compare(m_id, Qt::CaseInsensitive) != 0)
            return false;
        if (!m_name.isEmpty() &&
            node.GetAttribute(QStringLiteral("NAME")).compare(m_name, Qt::CaseInsensitive) != 0)
            return false;
        if (!m_attribute.isEmpty() && node.GetAttribute(m_attribute).isEmpty())
            return false;
        if (!m_class.isEmpty()) {
            const QString classes = u' ' + node.GetAttribute(QStringLiteral("CLASS")).toLower() + u' ';
            if (!classes.contains(m_class))
                return false;
        }
        return true;
    }

  private:
    bool m_hasTag;
    // Compares in place: a saved file's records are read key by key with these queries.
    HtmlNameMatcher m_tag;
    QString m_id;
    QString m_name;
    QString m_attribute;
    QString m_class;
};

// Pre-order walk with an explicit stack; a match is taken and its subtree is not searched.
template <typename NodeT, typename Visit>
void WalkMatches(NodeT& top, const Criteria& criteria, Visit visit) {
    // On the stack for the usual small subtree: a record is read with a query per key.
    QVarLengthArray<NodeT*, 64> stack{&top};
    while (!stack.empty()) {
        NodeT* node = stack.back();
        stack.pop_back();
        if (Criteria::TakesPart(*node) && criteria.Matches(*node)) {
            if (!visit(node))
                return;
            continue;
        }
        auto& children = node->GetChildren();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            stack.push_back(&*child);
    }
}

template <typename NodeT>
void CollectMatches(NodeT& top, std::vector<NodeT*>& out, const Criteria& criteria, bool clear) {
    if (clear)
        out.clear();
    WalkMatches(top, criteria, [&out](NodeT* node) {
        out.push_back(node);
        return true;
    });
}

template <typename NodeT> NodeT* FirstMatch(NodeT& top, const Criteria& criteria) {
    NodeT* found = nullptr;
    WalkMatches(top, criteria, [&found](NodeT* node) {
        found = node;
        return false;
    });
    return found;
}

} // namespace

QString CDownloader_HTMLTags::GetAttribute(const QString& name) const {
    if (IsTextNode())
        return {};
    const QStringView text = m_text.View();
    qsizetype start = 0;
    while (start < text.size() && !IsAttributeSpace(text[start].unicode()))
        ++start;
    // Scanned from after the first separator up to, not including, the closing ">".
    const qsizetype stop = text.size() - 1;
    char16_t quote = u' '; // a space: no quote is open
    qsizetype token = -1;
    bool named = false; // the wanted name was just seen before "="
    for (qsizetype i = start + 1; i < stop; ++i) {
        const char16_t c = text[i].unicode();
        if (quote != u' ') {
            if (c == u'\\') {
                ++i;
            } else if (c == quote) {
                if (named)
                    return TrimmedOf(text.sliced(token, i - token), quote).toString();
                token = -1;
                quote = u' ';
            }
        } else if (c == u'=') {
            const QStringView key = token < 0 ? QStringView() : text.sliced(token, i - token).trimmed();
            named = key.compare(name, Qt::CaseInsensitive) == 0;
            token = -1;
        } else if (IsAttributeSpace(c) || c == u'>') {
            if (token >= 0) {
                if (named)
                    return TrimmedOf(text.sliced(token, i - token), u' ').toString();
                token = -1;
            }
        } else if (token < 0) {
            token = i;
            if (c == u'\'' || c == u'"') {
                quote = c;
                token = i + 1;
            }
        }
    }
    if (named && token >= 0 && quote == u' ' && token < stop)
        return TrimmedOf(text.sliced(token, stop - token), u' ').toString();
    return {};
}

void CDownloader_HTMLTags::FindAll(std::vector<CDownloader_HTMLTags*>& out, const FindCriteria& criteria,
                                   bool clear) {
    CollectMatches(*this, out, Criteria(criteria), clear);
}

void CDownloader_HTMLTags::FindAll(std::vector<const CDownloader_HTMLTags*>& out,
                                   const FindCriteria& criteria, bool clear) const {
    CollectMatches(*this, out, Criteria(criteria), clear);
}

CDownloader_HTMLTags* CDownloader_HTMLTags::FindFirst(const FindCriteria& criteria) {
    return FirstMatch(*this, Criteria(criteria));
}

const CDownloader_HTMLTags* CDownloader_HTMLTags::FindFirst(const FindCriteria& criteria) const {
    return FirstMatch(*this, Criteria(criteria));
}

bool CDownloader_HTMLTags::MatchesTag(const QString& tag) const {
    return Criteria::TakesPart(*this) && Criteria(FindCriteria{.tag = tag}).Matches(*this);
}

void CDownloader_HTMLTags::FindFirstOfEach(std::span<const QString> tags,
                                           std::span<const CDownloader_HTMLTags*> first) const {
    std::fill(first.begin(), first.end(), nullptr);
    const std::size_t count = std::min(tags.size(), first.size());
    std::vector<HtmlNameMatcher> matchers;
    matchers.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        matchers.emplace_back(tags[i]);
    std::size_t missing = count;
    const auto visit = [&](const Node& node) {
        if (!Criteria::TakesPart(node))
            return;
        const QStringView text = node.m_text.View();
        const QStringView plain = PlainTagName(text);
        const auto match = [&](QStringView name) {
            for (std::size_t i = 0; i < count; ++i) {
                if (!first[i] && matchers[i].MatchesName(name)) {
                    first[i] = &node;
                    --missing;
                }
            }
        };
        if (plain.isNull())
            match(HtmlUpperName(text).View());
        else
            match(plain);
    };
    // Pre-order, as FindFirst walks: a match's subtree comes after it, so the first match of each name is
    // the one FindFirst finds although the walk goes on below matches. A stretch of siblings a frame.
    struct Frame {
        const Node* next;
        const Node* end;
    };
    visit(*this);
    QVarLengthArray<Frame, 16> stack;
    if (!m_children.empty())
        stack.push_back({m_children.data(), m_children.data() + m_children.size()});
    while (!stack.empty() && missing > 0) {
        Frame& frame = stack.back();
        if (frame.next == frame.end) {
            stack.pop_back();
            continue;
        }
        const Node& node = *frame.next++;
        visit(node);
        if (!node.m_children.empty())
            stack.push_back({node.m_children.data(), node.m_children.data() + node.m_children.size()});
    }
}

QString CDownloader_HTMLTags::GetInnerText(bool lineBreaks, const QString& excludedTags) const {
    // A saved value is an element holding one text: read in place, as the walk below would read it.
    if (!lineBreaks && excludedTags.isEmpty() && m_children.size() == 1 && !IsTextNode()) {
        const Node& only = m_children.front();
        if (only.IsTextNode() && !only.IsComment())
            return IsRawTextElement(HtmlUpperName(m_text.View()).View()) ? QString() : only.m_text.ToString();
    }
    const QString excluded = excludedTags.toUpper();
    QString out;
    // Writes what a node gives before its children; true when its children are to be read.
    auto open = [&](const Node& node) {
        if (node.IsComment())
            return false;
        if (node.IsTextNode()) {
            out += node.m_text.View();
            return false;
        }
        const HtmlUpperName name(node.m_text.View());
        // A nameless element (the root) is never excluded, even by a list with a double blank.
        if (!excluded.isEmpty() && !name.View().isEmpty() && TagListContains(excluded, name.View()))
            return false;
        if (lineBreaks && name.View() == u"BR")
            out += u"\r\n";
        if (IsRawTextElement(name.View()))
            return false;
        return !node.m_children.empty();
    };
    // With line breaks, a child that added text is kept apart from the next one by a space.
    auto separate = [&](qsizetype lengthBefore) {
        if (lineBreaks && out.size() > lengthBefore && !out.back().isSpace())
            out += u' ';
    };

    struct Frame {
        const Node* node;
        std::size_t next;
        qsizetype lengthBefore;
    };
    std::vector<Frame> stack;
    if (open(*this))
        stack.push_back({this, 0, 0});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.node->m_children.size()) {
            const qsizetype lengthBefore = frame.lengthBefore;
            stack.pop_back();
            if (!stack.empty())
                separate(lengthBefore);
            continue;
        }
        const Node& child = frame.node->m_children[frame.next++];
        const qsizetype lengthBefore = out.size();
        if (open(child))
            stack.push_back({&child, 0, lengthBefore});
        else
            separate(lengthBefore);
    }
    return out;
}

void ParseJsStringList(QStringList& out, const QString& text) {
    out.clear();
    qsizetype length = text.size();
    while (length > 0) {
        const QChar last = text[length - 1];
        if (last != u')' && last != u';' && last != u'\r' && last != u'\n')
            break;
        --length;
    }
    const QString items = text.left(length) + u',';
    char16_t delimiter = u',';
    qsizetype start = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const char16_t c = items[i].unicode();
        if (c == delimiter) {
            if (delimiter == u',') {
                out.append(QStringView(items).sliced(start, i - start).trimmed().toString());
            } else {
                // A quoted item is taken as it stands; whatever follows up to the next comma is skipped.
                out.append(items.sliced(start, i - start));
                i = items.indexOf(u',', i + 1);
                if (i < 0)
                    return;
            }
            delimiter = u',';
            start = i + 1;
        } else if (c == u'\'' || c == u'"') {
            delimiter = c;
            start = i + 1;
        } else if (c == u'\\') {
            ++i;
        }
    }
}
