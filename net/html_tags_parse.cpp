#include "core/char_codes.h"
#include "core/number_text.h"
#include "net/html_tag_name.h"
#include "net/html_tags.h"

#include <algorithm>
#include <bit>
#include <string_view>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <iterator>
#include <limits>

// What reading a text will change: whether CR LF, TAB or two spaces in a row occur (most text runs and
// tags need no folding at all), and, for text nodes, whether an "&" does.
struct HtmlTextChanges {
    bool fold = false;
    bool entities = false;
};

namespace {

using Node = CDownloader_HTMLTags;

constexpr char16_t kReplacementCharacter = 0xFFFD;

// The index of the first c in text at or after from, or -1. Markup is scanned for "<", ">" and "&" over and
// over across short distances, where a plain loop over eight characters at a time beats a general search.
qsizetype FindChar(QStringView text, qsizetype from, char16_t c) {
    const char16_t* data = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = std::max<qsizetype>(from, 0);
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
    for (; i + 8 <= n; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanted));
        if (mask != 0)
            return i + std::countr_zero(static_cast<unsigned>(mask)) / 2;
    }
#endif
    for (; i < n; ++i)
        if (data[i] == c)
            return i;
    return -1;
}

// Whether text has prefix at at (prefix is short ASCII markup).
bool HasAt(QStringView text, qsizetype at, std::u16string_view prefix) {
    if (at < 0 || text.size() - at < qsizetype(prefix.size()))
        return false;
    const char16_t* chars = text.utf16() + at;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (chars[i] != prefix[i])
            return false;
    return true;
}

// What may follow "<" for it to open a tag: a letter (any script), "/", "?" or "!".
bool OpensTag(QStringView s, qsizetype next) {
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

// What reading text will change, found in one pass.
HtmlTextChanges ChangesIn(QStringView text, bool withEntities) {
    const char16_t* in = text.utf16();
    const qsizetype n = text.size();
    HtmlTextChanges found;
    qsizetype i = 0;
#ifdef __SSE2__
    // Eight characters and each one's successor at a time.
    const __m128i space = _mm_set1_epi16(u' '), tab = _mm_set1_epi16(u'\t');
    const __m128i cr = _mm_set1_epi16(u'\r'), lf = _mm_set1_epi16(u'\n');
    const __m128i amp = _mm_set1_epi16(withEntities ? u'&' : u'\0');
    __m128i fold = _mm_setzero_si128(), entity = _mm_setzero_si128();
    for (; i + 9 <= n; i += 8) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 1));
        fold = _mm_or_si128(
            fold, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(c, tab),
                                            _mm_and_si128(_mm_cmpeq_epi16(c, cr), _mm_cmpeq_epi16(next, lf))),
                               _mm_and_si128(_mm_cmpeq_epi16(c, space), _mm_cmpeq_epi16(next, space))));
        if (withEntities)
            entity = _mm_or_si128(entity, _mm_cmpeq_epi16(c, amp));
    }
    found.fold = _mm_movemask_epi8(fold) != 0;
    found.entities = _mm_movemask_epi8(entity) != 0;
#endif
    for (; i < n; ++i) {
        const char16_t c = in[i];
        if (c == u'&')
            found.entities = found.entities || withEntities;
        else if (c == u'\t' || (c == u'\r' && i + 1 < n && in[i + 1] == u'\n') ||
                 (c == u' ' && i + 1 < n && in[i + 1] == u' '))
            found.fold = true;
    }
    return found;
}

// FindChar that also notes, into seen, what reading the characters it passes over will change (see
// ChangesIn): the parser learns this about every text and tag while it looks for their end.
qsizetype FindCharNoting(QStringView text, qsizetype from, char16_t wanted, bool withEntities,
                         HtmlTextChanges& seen) {
    const char16_t* in = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = std::max<qsizetype>(from, 0);
#ifdef __SSE2__
    const __m128i stopAt = _mm_set1_epi16(static_cast<short>(wanted));
    const __m128i space = _mm_set1_epi16(u' '), tab = _mm_set1_epi16(u'\t');
    const __m128i cr = _mm_set1_epi16(u'\r'), lf = _mm_set1_epi16(u'\n');
    const __m128i amp = _mm_set1_epi16(u'&');
    const __m128i entityLanes = withEntities ? _mm_set1_epi16(-1) : _mm_setzero_si128();
    // What the blocks passed over hold, gathered lane by lane and looked at once at the end.
    __m128i foldSeen = _mm_setzero_si128(), entitySeen = _mm_setzero_si128();
    for (; i + 9 <= n; i += 8) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 1));
        const __m128i fold =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(c, tab),
                                      _mm_and_si128(_mm_cmpeq_epi16(c, cr), _mm_cmpeq_epi16(next, lf))),
                         _mm_and_si128(_mm_cmpeq_epi16(c, space), _mm_cmpeq_epi16(next, space)));
        const __m128i entity = _mm_and_si128(_mm_cmpeq_epi16(c, amp), entityLanes);
        const unsigned stop = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(c, stopAt)));
        if (stop != 0) {
            const unsigned before = (stop & (0u - stop)) - 1; // the characters ahead of the one wanted
            seen.fold = seen.fold || _mm_movemask_epi8(foldSeen) != 0 ||
                        (unsigned(_mm_movemask_epi8(fold)) & before) != 0;
            seen.entities = seen.entities || _mm_movemask_epi8(entitySeen) != 0 ||
                            (unsigned(_mm_movemask_epi8(entity)) & before) != 0;
            return i + std::countr_zero(stop) / 2;
        }
        foldSeen = _mm_or_si128(foldSeen, fold);
        entitySeen = _mm_or_si128(entitySeen, entity);
    }
    seen.fold = seen.fold || _mm_movemask_epi8(foldSeen) != 0;
    seen.entities = seen.entities || _mm_movemask_epi8(entitySeen) != 0;
#endif
    for (; i < n; ++i) {
        const char16_t c = in[i];
        if (c == wanted)
            return i;
        if (c == u'&')
            seen.entities = seen.entities || withEntities;
        else if (c == u'\t' || (c == u'\r' && i + 1 < n && in[i + 1] == u'\n') ||
                 (c == u' ' && i + 1 < n && in[i + 1] == u' '))
            seen.fold = true;
    }
    return -1;
}

// Copies text to out with CR LF and TAB made one space each and then every run of spaces made one space;
// answers the length written, never more than text's.
qsizetype FoldInto(QStringView text, char16_t* out) {
    const char16_t* in = text.utf16();
    const qsizetype n = text.size();
    qsizetype length = 0;
    bool afterSpace = false;
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = in[i];
        if (c > u' ') {
            out[length++] = c;
            afterSpace = false;
            continue;
        }
        if (c == u'\r' && i + 1 < n && in[i + 1] == u'\n') {
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
        out[length++] = c;
    }
    return length;
}

// Where a text that folding makes one single space has a space of its own: its index, or -1 when folding
// gives anything else (a lone CR or LF stays, so only spaces, TABs and CR LF pairs fold away) or the text
// holds no space. The line break and indentation between two tags is such a text.
qsizetype LoneSpaceAt(QStringView text) {
    const char16_t* in = text.utf16();
    const qsizetype n = text.size();
    // Mostly a CR LF and then the next line's indentation.
    if (n >= 3 && in[0] == u'\r' && in[1] == u'\n' && in[2] == u' ') {
        qsizetype i = 3;
#ifdef __SSE2__
        const __m128i space = _mm_set1_epi16(u' ');
        for (; i + 8 <= n; i += 8) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, space)) != 0xFFFF)
                break;
        }
#endif
        while (i < n && in[i] == u' ')
            ++i;
        if (i == n)
            return 2;
    }
    qsizetype space = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c == u' ')
            space = space < 0 ? i : space;
        else if (c == u'\r' && i + 1 < n && in[i + 1] == u'\n')
            ++i;
        else if (c != u'\t')
            return -1;
    }
    return space;
}

// Decoding writes to a buffer as long as its input: no replacement lengthens the text (the shortest
// reference, "&#1;", gives at most two characters).

// The named entity at at ("&" there), if it is one of the four: its character and length. Their second
// letters differ, so one look at it picks the only candidate.
bool NamedEntityAt(QStringView in, qsizetype at, char16_t& replacement, qsizetype& length) {
    struct Named {
        std::u16string_view entity;
        char16_t replacement;
    };
    static constexpr Named kNamed[] = {
        {u"&nbsp;", u' '}, {u"&quot;", u'"'}, {u"&gt;", u'>'}, {u"&lt;", u'<'}};
    if (at + 1 >= in.size())
        return false;
    for (const Named& named : kNamed) {
        if (named.entity[1] != in[at + 1].unicode())
            continue;
        replacement = named.replacement;
        length = qsizetype(named.entity.size());
        return HasAt(in, at, named.entity);
    }
    return false;
}

// The four named entities, in one pass: their replacements contain no "&" or ";", so replacing one
// never forms or breaks another. Writes the result to out and answers its length; -1 when nothing was
// replaced (and nothing written).
qsizetype DecodeNamedInto(QStringView in, char16_t* out) {
    const char16_t* chars = in.utf16();
    qsizetype length = -1;
    qsizetype from = 0;
    for (qsizetype at = FindChar(in, 0, u'&'); at >= 0; at = FindChar(in, at + 1, u'&')) {
        char16_t replacement = 0;
        qsizetype entityLength = 0;
        if (!NamedEntityAt(in, at, replacement, entityLength))
            continue;
        length = std::max<qsizetype>(length, 0);
        std::copy(chars + from, chars + at, out + length);
        length += at - from;
        out[length++] = replacement;
        from = at + entityLength;
        at = from - 1;
    }
    if (length < 0)
        return -1;
    std::copy(chars + from, chars + in.size(), out + length);
    return length + in.size() - from;
}

// The character of a numeric reference, written to out; a number that names no Unicode scalar value gives
// U+FFFD. Answers how many characters were written.
qsizetype WriteReference(char16_t* out, qint64 code) {
    const bool valid = code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    if (!valid) {
        out[0] = kReplacementCharacter;
        return 1;
    }
    const char32_t point = static_cast<char32_t>(code);
    if (QChar::requiresSurrogates(point)) {
        out[0] = QChar::highSurrogate(point);
        out[1] = QChar::lowSurrogate(point);
        return 2;
    }
    out[0] = static_cast<char16_t>(point);
    return 1;
}

// Decimal references and then "&amp;", in one left-to-right pass over the text after the named entities.
// A reference runs from "&#" to the next ";" and is read like "&#%d" (white space and a sign allowed,
// anything after the digits ignored). Output is never read again, and the next ";" is remembered so that
// text full of "&" without ";" stays linear. Writes the result to out and answers its length; -1 when
// nothing was replaced (and nothing written).
qsizetype DecodeNumericAndAmpInto(QStringView text, char16_t* out) {
    const char16_t* chars = text.utf16();
    qsizetype length = -1;
    qsizetype nextSemicolon = -1;
    bool semicolonsLeft = true;
    qsizetype from = 0;
    auto flush = [&](qsizetype at) {
        length = std::max<qsizetype>(length, 0);
        std::copy(chars + from, chars + at, out + length);
        length += at - from;
    };
    for (qsizetype at = FindChar(text, 0, u'&'); at >= 0; at = FindChar(text, at + 1, u'&')) {
        if (at + 1 < text.size() && chars[at + 1] == u'#' && semicolonsLeft) {
            if (nextSemicolon < at) {
                nextSemicolon = FindChar(text, at, u';');
                semicolonsLeft = nextSemicolon >= 0;
            }
            if (!semicolonsLeft)
                continue;
            const std::optional<qint64> code =
                number_text::ReadInt64(text.sliced(at + 2, nextSemicolon - at - 2));
            if (!code)
                continue;
            flush(at);
            if (*code != 0)
                length += WriteReference(out + length, *code);
            from = nextSemicolon + 1;
            at = nextSemicolon;
        } else if (HasAt(text, at, u"&amp;")) {
            flush(at);
            out[length++] = u'&';
            from = at + 5;
            at = from - 1;
        }
    }
    if (length < 0)
        return -1;
    std::copy(chars + from, chars + text.size(), out + length);
    return length + text.size() - from;
}

} // namespace

// Where the texts of parsed nodes go. A text that stands in the document as it is becomes a stretch of the
// document; one that folding or entity decoding changes goes to the arena (or a string of its own when
// there is none). The decoding buffers are kept across nodes, so decoding allocates nothing once they grew.
struct HtmlTextSink {
    HtmlTextSink() = default;
    HtmlTextSink(const HtmlTextSink&) = delete;
    HtmlTextSink& operator=(const HtmlTextSink&) = delete;
    ~HtmlTextSink() {
        // The document is still referenced by whoever parses it, so this never releases it.
        if (m_documentRefsHeld > 0)
            document->refs.fetch_sub(m_documentRefsHeld, std::memory_order_acq_rel);
    }

    HtmlTextBlock* document = nullptr;
    HtmlTextArena* arena = nullptr;
    std::vector<char16_t> folded;
    std::vector<char16_t> named;
    std::vector<char16_t> decoded;

    // known: what ChangesIn would answer, when the caller found it out already.
    // Most texts stand unchanged: they are taken here, and only the others pay for the work on them.
    HtmlNodeText Store(QStringView raw, bool isText, const HtmlTextChanges* known) {
        const HtmlTextChanges changes = known ? *known : ChangesIn(raw, isText);
        if (!changes.fold && !changes.entities)
            return Unchanged(raw);
        return StoreChanged(raw, changes);
    }

  private:
    HtmlNodeText StoreChanged(QStringView raw, const HtmlTextChanges& changes) {
        const bool fold = changes.fold;
        const bool decode = changes.entities;
        QStringView text = raw;
        if (fold) {
            // A stretch of the document serves as well as a space written to the arena.
            if (const qsizetype space = decode || !document ? -1 : LoneSpaceAt(raw); space >= 0)
                return Unchanged(raw.sliced(space, 1));
            if (!decode && arena)
                return arena->Commit(FoldInto(raw, arena->Reserve(raw.size())));
            folded.resize(raw.size());
            text = QStringView(folded.data(), FoldInto(raw, folded.data()));
        }
        if (decode) {
            named.resize(text.size());
            const qsizetype length = DecodeNamedInto(text, named.data());
            if (length >= 0)
                text = QStringView(named.data(), length);
        }
        decoded.resize(text.size());
        char16_t* out = arena ? arena->Reserve(text.size()) : decoded.data();
        qsizetype length = decode ? DecodeNumericAndAmpInto(text, out) : -1;
        if (length < 0) {
            if (text.data() == raw.data())
                return Unchanged(raw);
            length = text.size();
            std::copy(text.utf16(), text.utf16() + text.size(), out);
        }
        return arena ? arena->Commit(length) : HtmlNodeText(QStringView(out, length).toString());
    }

    HtmlNodeText Unchanged(QStringView raw) {
        if (!document || raw.isEmpty() || raw.size() > HtmlNodeText::kLongestStretch ||
            m_documentRefsHeld == 0)
            return UnchangedTakingReferences(raw);
        --m_documentRefsHeld;
        return HtmlNodeText::Adopting(document, raw.data() - document->chars.constData(), raw.size());
    }
    // Unchanged where a text is no plain stretch of the document, or the references held have run out.
    [[gnu::noinline]] HtmlNodeText UnchangedTakingReferences(QStringView raw) {
        if (!document)
            return HtmlNodeText(raw.toString());
        const qsizetype offset = raw.data() - document->chars.constData();
        if (raw.isEmpty() || raw.size() > HtmlNodeText::kLongestStretch)
            return HtmlNodeText(document, offset, raw.size());
        document->refs.fetch_add(kDocumentRefsBatch, std::memory_order_relaxed);
        m_documentRefsHeld = kDocumentRefsBatch - 1;
        return HtmlNodeText::Adopting(document, offset, raw.size());
    }

    // References to the document taken ahead and not yet handed to a text: nearly every node's text is a
    // stretch of it, and one atomic step per node would cost more than the rest of making the node.
    static constexpr int kDocumentRefsBatch = 4096;
    int m_documentRefsHeld = 0;
};

QString DecodeHtmlEntities(const QString& text) {
    if (!text.contains(u'&'))
        return text;
    QString named(text.size(), Qt::Uninitialized);
    const qsizetype namedLength = DecodeNamedInto(text, reinterpret_cast<char16_t*>(named.data()));
    const QStringView afterNamed =
        namedLength >= 0 ? QStringView(named).first(namedLength) : QStringView(text);
    QString decoded(afterNamed.size(), Qt::Uninitialized);
    const qsizetype length = DecodeNumericAndAmpInto(afterNamed, reinterpret_cast<char16_t*>(decoded.data()));
    if (length >= 0) {
        decoded.truncate(length);
        return decoded;
    }
    if (namedLength >= 0) {
        named.truncate(namedLength);
        return named;
    }
    return text;
}

QString CDownloader_HTMLTags::GetTagName(bool upper) const {
    if (IsTextNode())
        return {};
    if (upper)
        return HtmlUpperName(m_text.View()).View().toString();
    return RawTagName(m_text.View()).toString();
}

void CDownloader_HTMLTags::Normalize() {
    const QString raw = m_text.ToString();
    HtmlTextSink sink;
    NormalizeFrom(raw, sink, nullptr);
}

namespace {

enum class Section { None, CData, Comment };

// A CDATA section or a comment becomes the text between its markers; a section too short for both of its
// markers is empty, never an out-of-range cut. Apart from the usual tag, so that the usual one is quick.
[[gnu::noinline]] Section Unwrap(QStringView& raw) {
    Section found = Section::None;
    if (raw.startsWith(u"<![CDATA[")) {
        raw = raw.size() >= 12 ? raw.sliced(9, raw.size() - 12) : QStringView();
        found = Section::CData;
    }
    if (raw.startsWith(u"<!--")) {
        raw = raw.size() >= 7 ? raw.sliced(4, raw.size() - 7) : QStringView();
        found = Section::Comment;
    }
    return found;
}

} // namespace

void CDownloader_HTMLTags::NormalizeFrom(QStringView raw, HtmlTextSink& sink, const HtmlTextChanges* known) {
    if (!IsTextNode() && !IsClosed() && raw.size() > 1 && raw[1] == u'!') {
        if (const Section section = Unwrap(raw); section != Section::None) {
            SetFlag(kText, true);
            if (section == Section::Comment)
                SetFlag(kComment, true);
            known = nullptr;
        }
    }
    m_text = sink.Store(raw, IsTextNode(), known);
}

// Lays the page out flat under the root and nests by folding. The open root-level elements are kept on
// side stacks of indices (all of them, and per name for the implicitly closed A, LI and OPTION, plus the
// UL and OL children that bound the LI rule), so every end tag or implicit close finds its target without
// scanning the root's children: parsing stays linear on pages with thousands of pending elements.
class HtmlTreeBuilder {
  public:
    HtmlTreeBuilder(Node& root, HtmlTextBlock* document, std::size_t maxNodes)
        : m_nodes(root.m_children), m_arena(document->chars.size() / 8), m_nodesLeft(maxNodes) {
        m_sink.document = document;
        m_sink.arena = &m_arena;
    }

    // False when the text held more nodes than allowed: the tree then ends where they ran out.
    bool Run(QStringView s) {
        qsizetype textStart = 0;
        qsizetype from = 0;
        HtmlTextChanges textChanges; // of the text from textStart on
        while (!m_cut) {
            const qsizetype open = FindCharNoting(s, from, u'<', true, textChanges);
            if (open < 0)
                break; // text after the last tag is dropped
            if (!OpensTag(s, open + 1)) {
                from = open + 1;
                continue;
            }
            if (textStart < open)
                AddText(s, textStart, open, textChanges);
            textChanges = HtmlTextChanges();
            textStart = open;
            HtmlTextChanges tagChanges;
            bool tagKnown = false;
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
                close = FindCharNoting(s, open + 1, u'>', false, tagChanges);
                tagKnown = true;
            }
            if (close < 0) {
                m_nested = false; // a tag, comment or section that never ends stops the parse here
                break;
            }
            AddTag(s, open, close, tagKnown ? &tagChanges : nullptr);
            textStart = close + 1;
            from = close + 1;
        }
        m_nested = m_nested && m_open.empty();
        return !m_cut;
    }

    // After Run: whether every element was closed by its own end tag, innermost first, with no end tag
    // standing alone and no tag cut off (void and self-closing tags need no end tag).
    bool Nested() const { return m_nested; }

  private:
    enum class Implicit { None, A, Li, Option };

    // Nodes are made in place at the end of the root level and taken back when their text is empty.
    Node& NewNode(qsizetype start, qsizetype end) {
        Node& node = m_nodes.emplace_back();
        node.m_spanStart = static_cast<int>(start);
        node.m_spanEnd = static_cast<int>(end);
        return node;
    }

    void AddText(QStringView s, qsizetype start, qsizetype end, const HtmlTextChanges& changes) {
        Node& node = NewNode(start, end);
        node.SetFlag(Node::kText, true);
        node.NormalizeFrom(s.sliced(start, end - start), m_sink, &changes);
        if (node.m_text.IsEmpty() || !AdmitNode())
            m_nodes.pop_back();
    }

    // Counts one more node against the budget; false (and the parse ends) when none is left.
    bool AdmitNode() {
        if (m_nodesLeft == 0) {
            m_cut = true;
            return false;
        }
        --m_nodesLeft;
        return true;
    }

    // The tag s[start..end] (from "<" to ">", so there is no white space to trim at either end).
    void AddTag(QStringView s, qsizetype start, qsizetype end, const HtmlTextChanges* changes) {
        const QStringView raw = s.sliced(start, end - start + 1);
        if (ClosesLastOpen(raw)) {
            Fold(m_open.back().index);
            return;
        }
        const HtmlUpperName name(raw);
        const bool selfClosing = raw[raw.size() - 2] == u'/' && raw.indexOf(u"/>") == raw.size() - 2;
        // Only start tags can close implicitly; end tags and closed ones never do.
        const NameKind kind = KindOf(name);
        const Implicit implicit = selfClosing || raw[1] == u'/' ? Implicit::None : kind.implicit;
        const bool closed = selfClosing || kind.isVoid;
        if (!closed && raw[1] == u'/') {
            FoldEndTag(name.View());
            return;
        }
        if (!closed && implicit != Implicit::None)
            CloseImplicitly(implicit);
        const std::size_t index = m_nodes.size();
        Node& node = NewNode(start, end);
        node.SetFlag(Node::kClosed, closed);
        node.NormalizeFrom(raw, m_sink, changes);
        if (node.m_text.IsEmpty() || !AdmitNode()) {
            m_nodes.pop_back();
            return;
        }
        const bool element = !node.IsTextNode();
        const bool open = element && !node.IsClosed();
        if (element && kind.isList)
            m_lists.push_back(index);
        if (open) {
            m_open.push_back({index, m_openNames.size(), name.View().size()});
            m_openNames.insert(m_openNames.end(), name.View().begin(), name.View().end());
            if (std::vector<std::size_t>* stack = ImplicitStack(implicit))
                stack->push_back(index);
        }
    }

    // The usual end tag: "</", the name of the last open element in any letter case, then ">". It folds
    // that element as FoldEndTag would, without taking the name apart (an open element's name is never a
    // void one, so the end tag is not either).
    bool ClosesLastOpen(QStringView raw) const {
        if (m_open.empty() || raw[1] != u'/')
            return false;
        const OpenElement& last = m_open.back();
        if (last.nameLength == 0 || raw.size() != last.nameLength + 3)
            return false;
        const QChar* wanted = m_openNames.data() + last.nameAt;
        for (qsizetype i = 0; i < last.nameLength; ++i) {
            const char16_t c = raw[i + 2].unicode();
            if (c >= 0x80 || html_name_detail::kPlainNameChars.upper[c] != wanted[i].unicode())
                return false;
        }
        return true;
    }

    // What the fixed tag lists say about a name, found with one look at its length and letters.
    struct NameKind {
        bool isVoid = false;
        bool isList = false; // UL or OL
        Implicit implicit = Implicit::None;
    };
    static NameKind KindOf(const HtmlUpperName& upperName) {
        const QStringView name = upperName.View();
        const HtmlTagKind listed = HtmlTagKindOf(upperName.Key());
        NameKind kind;
        kind.isVoid = listed.isVoid;
        if (listed.isImplicitlyClosed)
            kind.implicit = name == u"A" ? Implicit::A : name == u"LI" ? Implicit::Li : Implicit::Option;
        kind.isList = name.size() == 2 && name[1] == u'L' && (name[0] == u'U' || name[0] == u'O');
        return kind;
    }

    std::vector<std::size_t>* ImplicitStack(Implicit kind) {
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
    void CloseImplicitly(Implicit kind) {
        const std::vector<std::size_t>& stack = *ImplicitStack(kind);
        if (stack.empty())
            return;
        const std::size_t target = stack.back();
        if (kind == Implicit::Li && !m_lists.empty() && m_lists.back() > target)
            return;
        m_nested = false;
        Fold(target);
    }

    // Closes open elements from the last back to the nearest one named like the end tag (all of them when
    // none is). Open elements keep their names, so none is taken apart again.
    void FoldEndTag(QStringView name) {
        while (!m_open.empty()) {
            const OpenElement target = m_open.back();
            const bool match =
                target.nameLength == name.size() &&
                std::equal(name.begin(), name.end(), m_openNames.begin() + qsizetype(target.nameAt));
            Fold(target.index);
            if (match)
                return;
            m_nested = false;
        }
        m_nested = false;
    }

    // Closes the root child at index and moves every root child after it, in order, into it.
    void Fold(std::size_t index) {
        Node& target = m_nodes[index];
        target.SetFlag(Node::kClosed, true);
        const auto first = m_nodes.begin() + static_cast<std::ptrdiff_t>(index) + 1;
        target.m_children.insert(target.m_children.end(), std::make_move_iterator(first),
                                 std::make_move_iterator(m_nodes.end()));
        m_nodes.erase(first, m_nodes.end());
        // Everything from index on has left the root level (or is closed now).
        while (!m_open.empty() && m_open.back().index >= index) {
            m_openNames.resize(m_open.back().nameAt);
            m_open.pop_back();
        }
        PopFrom(m_openA, index);
        PopFrom(m_openLi, index);
        PopFrom(m_openOption, index);
        while (!m_lists.empty() && m_lists.back() > index)
            m_lists.pop_back();
    }

    static void PopFrom(std::vector<std::size_t>& stack, std::size_t index) {
        while (!stack.empty() && stack.back() >= index)
            stack.pop_back();
    }

    struct OpenElement {
        std::size_t index;
        std::size_t nameAt; // in m_openNames
        qsizetype nameLength;
    };

    std::vector<Node>& m_nodes;
    HtmlTextArena m_arena;
    HtmlTextSink m_sink;
    std::vector<OpenElement> m_open;       // open elements at the root level, in document order
    std::vector<QChar> m_openNames;        // their upper-case names, one after another
    std::vector<std::size_t> m_openA;      // the open A among them
    std::vector<std::size_t> m_openLi;     // the open LI among them
    std::vector<std::size_t> m_openOption; // the open OPTION among them
    std::vector<std::size_t> m_lists;      // UL and OL children of the root, open or closed
    std::size_t m_nodesLeft;
    bool m_cut = false;
    bool m_nested = true;
};

void CDownloader_HTMLTags::Parse(const QString& text) {
    Parse(text, std::numeric_limits<std::size_t>::max());
}

bool CDownloader_HTMLTags::Parse(const QString& text, std::size_t maxNodes) {
    return ParseText(text, maxNodes).complete;
}

bool CDownloader_HTMLTags::ParseNested(const QString& text) {
    return ParseText(text, std::numeric_limits<std::size_t>::max()).nested;
}

CDownloader_HTMLTags::ParseOutcome CDownloader_HTMLTags::ParseText(const QString& text,
                                                                   std::size_t maxNodes) {
    // The document's characters are held before anything is released: text may be this node's own text or
    // lie in the subtree released here. Characters the string does not own (QString::fromRawData) are copied,
    // as the nodes will point into them.
    HtmlTextBlock* document = new HtmlTextBlock;
    document->chars = text.data_ptr().isMutable() ? text : QString(text.constData(), text.size());
    ReleaseChildren();
    m_text = HtmlNodeText();
    m_spanStart = 0;
    m_spanEnd = 0;
    m_text.SetOwnerBits(0);
    // The root level holds every node for a while before it is folded: room enough up front spares moving
    // them as it grows, and what is left over goes again at the end.
    m_children.reserve(size_t(document->chars.size() / 64));
    ParseOutcome outcome;
    {
        // The builder hands back the document references it took ahead before the parse lets go of its own.
        HtmlTreeBuilder builder(*this, document, maxNodes);
        outcome.complete = builder.Run(document->chars);
        outcome.nested = builder.Nested();
    }
    if (document->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete document;
    if (m_children.capacity() > 2 * m_children.size() + 16)
        m_children.shrink_to_fit();
    return outcome;
}
