#include "core/char_codes.h"
#include "core/number_text.h"
#include "net/html_tag_name.h"
#include "net/html_tags.h"

#include <iterator>
#include <limits>

namespace {

using Node = CDownloader_HTMLTags;

constexpr char16_t kReplacementCharacter = 0xFFFD;

// What may follow "<" for it to open a tag: a letter (any script), "/", "?" or "!".
bool opensTag(QStringView s, qsizetype next) {
    if (next >= s.size())
        return false;
    const char16_t c = s[next].unicode();
    if (c == u'/' || c == u'?' || c == u'!')
        return true;
    if (c < 0x80)
        return IsAsciiLetter(c);
    if (QChar::isHighSurrogate(c) && next + 1 < s.size() && QChar::isLowSurrogate(s[next + 1].unicode()))
        return QChar::isLetter(QChar::surrogateToUcs4(c, s[next + 1].unicode()));
    return QChar::isLetter(c);
}

// Whether CR LF, TAB or two spaces in a row occur: most text runs and tags need no folding at all.
bool needsFolding(QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\t' || (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ||
            (c == u' ' && i + 1 < n && text[i + 1] == u' '))
            return true;
    }
    return false;
}

// CR LF and TAB become one space each, then every run of spaces becomes one space.
QString folded(QStringView text) {
    const qsizetype n = text.size();
    QString out(n, Qt::Uninitialized);
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    qsizetype length = 0;
    bool afterSpace = false;
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = text[i].unicode();
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            c = u' ';
            ++i;
        } else if (c == u'\t') {
            c = u' ';
        }
        if (c == u' ') {
            if (afterSpace)
                continue;
            afterSpace = true;
        } else {
            afterSpace = false;
        }
        to[length++] = c;
    }
    out.truncate(length);
    return out;
}

// The four named entities, in one pass: their replacements contain no "&" or ";", so replacing one
// never forms or breaks another.
QString decodeNamed(const QString& text) {
    struct Named {
        QStringView entity;
        char16_t replacement;
    };
    static constexpr Named kNamed[] = {
        {u"&nbsp;", u' '}, {u"&quot;", u'"'}, {u"&gt;", u'>'}, {u"&lt;", u'<'}};
    const QStringView in(text);
    QString out;
    qsizetype from = 0;
    for (qsizetype at = in.indexOf(u'&'); at >= 0; at = in.indexOf(u'&', at + 1)) {
        for (const Named& named : kNamed) {
            if (in.sliced(at).startsWith(named.entity)) {
                if (out.isNull())
                    out.reserve(in.size());
                out.append(in.sliced(from, at - from));
                out.append(QChar(named.replacement));
                from = at + named.entity.size();
                at = from - 1;
                break;
            }
        }
    }
    if (out.isNull())
        return text;
    out.append(in.sliced(from));
    return out;
}

// The character of a numeric reference; a number that names no Unicode scalar value gives U+FFFD.
void appendReference(QString& out, qint64 code) {
    const bool valid = code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    if (!valid) {
        out.append(QChar(kReplacementCharacter));
        return;
    }
    AppendCodePoint(out, static_cast<char32_t>(code));
}

// Decimal references and then "&amp;", in one left-to-right pass over the text after the named entities.
// A reference runs from "&#" to the next ";" and is read like "&#%d" (white space and a sign allowed,
// anything after the digits ignored). Output is never read again, and the next ";" is remembered so that
// text full of "&" without ";" stays linear.
QString decodeNumericAndAmp(const QString& input) {
    const QStringView text(input);
    QString out;
    qsizetype nextSemicolon = -1;
    bool semicolonsLeft = true;
    qsizetype from = 0;
    // Copies the text before a replacement; the output exists only once something was replaced.
    auto flush = [&](qsizetype at) {
        if (out.isNull())
            out.reserve(text.size());
        out.append(text.sliced(from, at - from));
    };
    for (qsizetype at = text.indexOf(u'&'); at >= 0; at = text.indexOf(u'&', at + 1)) {
        if (at + 1 < text.size() && text[at + 1] == u'#' && semicolonsLeft) {
            if (nextSemicolon < at) {
                nextSemicolon = text.indexOf(u';', at);
                semicolonsLeft = nextSemicolon >= 0;
            }
            if (!semicolonsLeft)
                continue;
            const std::optional<qint64> code =
                number_text::readInt64(text.sliced(at + 2, nextSemicolon - at - 2));
            if (!code)
                continue;
            flush(at);
            if (*code != 0)
                appendReference(out, *code);
            from = nextSemicolon + 1;
            at = nextSemicolon;
        } else if (text.sliced(at).startsWith(u"&amp;")) {
            flush(at);
            out.append(u'&');
            from = at + 5;
            at = from - 1;
        }
    }
    if (out.isNull())
        return input;
    out.append(text.sliced(from));
    return out;
}

} // namespace

QString DecodeHtmlEntities(const QString& text) {
    if (!text.contains(u'&'))
        return text;
    return decodeNumericAndAmp(decodeNamed(text));
}

QString CDownloader_HTMLTags::GetTagName(bool upper) const {
    if (m_isText)
        return {};
    if (upper)
        return HtmlUpperName(m_text).view().toString();
    return rawTagName(m_text).toString();
}

void CDownloader_HTMLTags::Normalize() {
    const QString raw = m_text;
    normalizeFrom(raw);
}

void CDownloader_HTMLTags::normalizeFrom(QStringView raw) {
    if (!m_isText && !m_closed && raw.size() > 1 && raw[1] == u'!') {
        // A section too short for both of its markers is empty, never an out-of-range cut.
        if (raw.startsWith(u"<![CDATA[")) {
            raw = raw.size() >= 12 ? raw.sliced(9, raw.size() - 12) : QStringView();
            m_isText = true;
        }
        if (raw.startsWith(u"<!--")) {
            raw = raw.size() >= 7 ? raw.sliced(4, raw.size() - 7) : QStringView();
            m_isText = true;
            m_isComment = true;
        }
    }
    m_text = needsFolding(raw) ? folded(raw) : raw.toString();
    if (m_isText)
        m_text = DecodeHtmlEntities(m_text);
}

// Lays the page out flat under the root and nests by folding. The open root-level elements are kept on
// side stacks of indices (all of them, and per name for the implicitly closed A, LI and OPTION, plus the
// UL and OL children that bound the LI rule), so every end tag or implicit close finds its target without
// scanning the root's children: parsing stays linear on pages with thousands of pending elements.
class HtmlTreeBuilder {
  public:
    HtmlTreeBuilder(Node& root, std::size_t maxNodes) : m_nodes(root.m_children), m_nodesLeft(maxNodes) {}

    // False when the text held more nodes than allowed: the tree then ends where they ran out.
    bool run(QStringView s) {
        qsizetype textStart = 0;
        qsizetype from = 0;
        while (!m_cut) {
            const qsizetype open = s.indexOf(u'<', from);
            if (open < 0)
                break; // text after the last tag is dropped
            if (!opensTag(s, open + 1)) {
                from = open + 1;
                continue;
            }
            if (textStart < open)
                addText(s, textStart, open);
            textStart = open;
            const QStringView rest = s.sliced(open);
            qsizetype close = -1;
            if (rest[1] == u'?') {
                const qsizetype end = s.indexOf(u"?>", open);
                close = end < 0 ? -1 : end + 1;
            } else if (rest[1] == u'!' && rest.startsWith(u"<!--")) {
                const qsizetype end = s.indexOf(u"-->", open);
                close = end < 0 ? -1 : end + 2;
            } else if (rest[1] == u'!' && rest.startsWith(u"<![CDATA[")) {
                const qsizetype end = s.indexOf(u"]]>", open);
                close = end < 0 ? -1 : end + 2;
            } else {
                close = s.indexOf(u'>', open + 1);
            }
            if (close < 0)
                break; // a tag, comment or section that never ends stops the parse here
            addTag(s, open, close);
            textStart = close + 1;
            from = close + 1;
        }
        return !m_cut;
    }

  private:
    enum class Implicit { None, A, Li, Option };

    void addText(QStringView s, qsizetype start, qsizetype end) {
        Node node;
        node.m_isText = true;
        node.m_spanStart = static_cast<int>(start);
        node.m_spanEnd = static_cast<int>(end);
        node.normalizeFrom(s.sliced(start, end - start));
        if (!node.m_text.isEmpty() && admitNode())
            m_nodes.push_back(std::move(node));
    }

    // Counts one more node against the budget; false (and the parse ends) when none is left.
    bool admitNode() {
        if (m_nodesLeft == 0) {
            m_cut = true;
            return false;
        }
        --m_nodesLeft;
        return true;
    }

    // The tag s[start..end] (from "<" to ">", so there is no white space to trim at either end).
    void addTag(QStringView s, qsizetype start, qsizetype end) {
        const QStringView raw = s.sliced(start, end - start + 1);
        const HtmlUpperName name(raw);
        Node node;
        node.m_spanStart = static_cast<int>(start);
        node.m_spanEnd = static_cast<int>(end);
        const bool selfClosing = raw[raw.size() - 2] == u'/' && raw.indexOf(u"/>") == raw.size() - 2;
        // Only start tags can close implicitly; end tags and closed ones never do.
        const Implicit implicit = selfClosing || raw[1] == u'/' ? Implicit::None : implicitKind(name.view());
        if (selfClosing || isVoidElement(name.view())) {
            node.m_closed = true;
        } else if (raw[1] == u'/') {
            foldEndTag(name.view());
            return;
        } else if (implicit != Implicit::None) {
            closeImplicitly(implicit);
        }
        node.normalizeFrom(raw);
        if (node.m_text.isEmpty() || !admitNode())
            return;
        const std::size_t index = m_nodes.size();
        const bool element = !node.m_isText;
        const bool open = element && !node.m_closed;
        m_nodes.push_back(std::move(node));
        if (element && name.view().size() == 2 && (name.view() == u"UL" || name.view() == u"OL"))
            m_lists.push_back(index);
        if (open) {
            m_open.push_back(index);
            if (std::vector<std::size_t>* stack = implicitStack(implicit))
                stack->push_back(index);
        }
    }

    static Implicit implicitKind(QStringView name) {
        if (!isImplicitlyClosed(name))
            return Implicit::None;
        return name == u"A" ? Implicit::A : name == u"LI" ? Implicit::Li : Implicit::Option;
    }

    std::vector<std::size_t>* implicitStack(Implicit kind) {
        switch (kind) {
        case Implicit::A:
            return &m_openA;
        case Implicit::Li:
            return &m_openLi;
        case Implicit::Option:
            return &m_openOption;
        case Implicit::None:
            break;
        }
        return nullptr;
    }

    // A new A, LI or OPTION closes the last open one of its name at the root level; an LI does not reach
    // back past a UL or OL (open or not) that stands after it.
    void closeImplicitly(Implicit kind) {
        const std::vector<std::size_t>& stack = *implicitStack(kind);
        if (stack.empty())
            return;
        const std::size_t target = stack.back();
        if (kind == Implicit::Li && !m_lists.empty() && m_lists.back() > target)
            return;
        fold(target);
    }

    // Closes open elements from the last back to the nearest one named like the end tag (all of them when
    // none is).
    void foldEndTag(QStringView name) {
        while (!m_open.empty()) {
            const std::size_t target = m_open.back();
            const bool match = HtmlUpperName(m_nodes[target].m_text).view() == name;
            fold(target);
            if (match)
                return;
        }
    }

    // Closes the root child at index and moves every root child after it, in order, into it.
    void fold(std::size_t index) {
        Node& target = m_nodes[index];
        target.m_closed = true;
        const auto first = m_nodes.begin() + static_cast<std::ptrdiff_t>(index) + 1;
        target.m_children.insert(target.m_children.end(), std::make_move_iterator(first),
                                 std::make_move_iterator(m_nodes.end()));
        m_nodes.erase(first, m_nodes.end());
        // Everything from index on has left the root level (or is closed now).
        for (std::vector<std::size_t>* stack : {&m_open, &m_openA, &m_openLi, &m_openOption}) {
            while (!stack->empty() && stack->back() >= index)
                stack->pop_back();
        }
        while (!m_lists.empty() && m_lists.back() > index)
            m_lists.pop_back();
    }

    std::vector<Node>& m_nodes;
    std::vector<std::size_t> m_open;       // open elements at the root level, in document order
    std::vector<std::size_t> m_openA;      // the open A among them
    std::vector<std::size_t> m_openLi;     // the open LI among them
    std::vector<std::size_t> m_openOption; // the open OPTION among them
    std::vector<std::size_t> m_lists;      // UL and OL children of the root, open or closed
    std::size_t m_nodesLeft;
    bool m_cut = false;
};

void CDownloader_HTMLTags::Parse(const QString& text) {
    Parse(text, std::numeric_limits<std::size_t>::max());
}

bool CDownloader_HTMLTags::Parse(const QString& text, std::size_t maxNodes) {
    // A shared copy: text may be this node's own text or lie in the subtree released here.
    const QString input = text;
    releaseChildren();
    m_text.clear();
    m_spanStart = 0;
    m_spanEnd = 0;
    m_closed = false;
    m_isText = false;
    m_isComment = false;
    return HtmlTreeBuilder(*this, maxNodes).run(input);
}
