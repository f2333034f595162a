#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>

namespace html_name_detail {

inline bool IsNameDelimiter(char16_t c) {
    return c <= u'>' &&
           (c == u' ' || c == u'>' || c == u'\r' || c == u'\n' || c == u'\t' || c == u'\'' || c == u'"');
}

// QChar::isSpace, answered here for ASCII.
inline bool IsSpace(char16_t c) {
    return c < 0x80 ? (c == u' ' || (c >= u'\t' && c <= u'\r')) : QChar::isSpace(c);
}

// For each ASCII character that the usual tag names are made of (letters, digits, "_", "-", ":", "."), its
// upper case; 0 for every other.
struct PlainNameChars {
    char16_t upper[128] = {};
    constexpr PlainNameChars() {
        for (char16_t c = u'0'; c <= u'9'; ++c)
            upper[c] = c;
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            upper[c] = upper[c + (u'a' - u'A')] = c;
        for (const char16_t c : {u'_', u'-', u':', u'.'})
            upper[c] = c;
    }
};
inline constexpr PlainNameChars kPlainNameChars;

} // namespace html_name_detail

// The element name in the raw text of a tag, as GetTagName defines it (empty when there is none): the text
// from after "<" to the first blank, quote or ">", trimmed of white space and then of slashes.
inline QStringView RawTagName(QStringView tagText) {
    using namespace html_name_detail;
    const char16_t* chars = tagText.utf16();
    const qsizetype size = tagText.size();
    if (size <= 2 || chars[0] != u'<')
        return {};
    qsizetype end = 1;
    while (end < size && !IsNameDelimiter(chars[end]))
        ++end;
    if (end == size)
        return {};
    qsizetype first = 1;
    while (first < end && IsSpace(chars[first]))
        ++first;
    while (end > first && IsSpace(chars[end - 1]))
        --end;
    while (first < end && chars[first] == u'/')
        ++first;
    while (end > first && chars[end - 1] == u'/')
        --end;
    return QStringView(chars + first, end - first);
}

// The upper-case element name of a tag text. The parser and the queries take a name apart for every node,
// so the usual short ASCII names are upper-cased in place, without an allocation.
class HtmlUpperName {
  public:
    explicit HtmlUpperName(QStringView tagText) {
        if (!AssignPlain(tagText))
            Assign(RawTagName(tagText));
    }
    QStringView View() const { return m_long.isNull() ? QStringView(m_short, m_size) : QStringView(m_long); }
    // The name packed for the list lookup (HtmlTagKindOf).
    quint64 Key() const { return m_key; }

  private:
    // The usual tag in one pass: "<" or "</", a short name of ASCII letters, digits, "_", "-", ":" or ".",
    // then a character that ends a name. Its name is then the one RawTagName finds (nothing to trim). False,
    // with nothing assigned, for any other tag.
    bool AssignPlain(QStringView tagText) {
        using namespace html_name_detail;
        const char16_t* chars = tagText.utf16();
        const qsizetype size = tagText.size();
        if (size <= 2 || chars[0] != u'<')
            return false;
        const qsizetype first = chars[1] == u'/' ? 2 : 1;
        const qsizetype limit = std::min(size, first + kShort);
        qsizetype end = first;
        quint64 key = 0;
        for (char16_t c; end < limit && chars[end] < 0x80 && (c = kPlainNameChars.upper[chars[end]]) != 0;
             ++end) {
            m_short[end - first] = c;
            key = key << 7 | c;
        }
        if (end == first || end == size || !IsNameDelimiter(chars[end]))
            return false;
        m_size = end - first;
        m_key = m_size <= 8 ? (key << 4 | quint64(m_size)) : 0;
        return true;
    }
    void Assign(QStringView name) {
        if (name.size() <= kShort) {
            char16_t any = 0;
            quint64 key = 0;
            for (qsizetype i = 0; i < name.size(); ++i) {
                const char16_t c = name.utf16()[i];
                any |= c;
                m_short[i] = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
                key = key << 7 | m_short[i];
            }
            if (any < 0x80) {
                m_size = name.size();
                m_key = m_size > 0 && m_size <= 8 &&
                                std::find(m_short, m_short + m_size, u'\0') == m_short + m_size
                            ? (key << 4 | quint64(m_size))
                            : 0;
                return;
            }
        }
        AssignUnicode(name);
    }
    // Full Unicode upper-casing, which may change the length (a sharp s becomes two letters), and the key
    // of the result.
    void AssignUnicode(QStringView name);

    static constexpr qsizetype kShort = 32;
    char16_t m_short[kShort];
    qsizetype m_size = 0;
    quint64 m_key = 0;
    QString m_long; // names longer than kShort or outside ASCII
};

// The element name of a usual tag as it stands in the text: "<" or "</", up to 32 ASCII letters, digits, "_",
// "-", ":" or ".", then a character that ends a name (the tags HtmlUpperName takes in one pass). Null for any
// other tag.
inline QStringView PlainTagName(QStringView tagText) {
    using namespace html_name_detail;
    constexpr qsizetype kLongestPlain = 32;
    const char16_t* chars = tagText.utf16();
    const qsizetype size = tagText.size();
    if (size <= 2 || chars[0] != u'<')
        return {};
    const qsizetype first = chars[1] == u'/' ? 2 : 1;
    const qsizetype limit = std::min(size, first + kLongestPlain);
    qsizetype end = first;
    while (end < limit && chars[end] < 0x80 && kPlainNameChars.upper[chars[end]] != 0)
        ++end;
    if (end == first || end == size || !IsNameDelimiter(chars[end]))
        return {};
    return QStringView(chars + first, end - first);
}

// A wanted element name, any case, compared with tags as HtmlUpperName(tag).view() == name.toUpper() would:
// a wanted name in ASCII against a plain tag name (the usual case) in place, without a copy.
class HtmlNameMatcher {
  public:
    // name: kept as a view when it is ASCII, so it must outlive the matcher.
    explicit HtmlNameMatcher(QStringView name)
        : m_isAscii(std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        if (m_isAscii)
            m_ascii = name;
        else
            m_upper = name.toString().toUpper();
    }
    bool Matches(QStringView tagText) const {
        const QStringView plain = PlainTagName(tagText);
        return MatchesName(plain.isNull() ? HtmlUpperName(tagText).View() : plain);
    }
    // name: a tag's PlainTagName, or else its HtmlUpperName; a walk that tries several names takes it once.
    bool MatchesName(QStringView name) const {
        const QStringView wanted = m_isAscii ? m_ascii : QStringView(m_upper);
        if (name.size() != wanted.size())
            return false;
        // Plain names upper-case char by char, and an upper-cased name holds no ASCII letter in lower case.
        for (qsizetype i = 0; i < name.size(); ++i)
            if (AsciiUpper(name.utf16()[i]) != AsciiUpper(wanted.utf16()[i]))
                return false;
        return true;
    }

  private:
    static char16_t AsciiUpper(char16_t c) {
        return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
    }

    bool m_isAscii;
    QStringView m_ascii;
    QString m_upper;
};

// What the fixed tag lists (html_tags.h) say about an upper-case element name.
struct HtmlTagKind {
    bool isVoid = false;
    bool isRawText = false;
    bool isImplicitlyClosed = false;
};
HtmlTagKind HtmlTagKindOf(QStringView upperName);
// The same by packed name: up to eight ASCII characters other than 0, seven bits each, above the length in
// the lowest four bits; 0 for any other name, which no list holds.
HtmlTagKind HtmlTagKindOf(quint64 packedName);

// Whether " " + name + " " occurs in list (the tag lists and the exclusion lists are written that way).
bool TagListContains(QStringView list, QStringView name);

inline bool IsRawTextElement(QStringView upperName) {
    return HtmlTagKindOf(upperName).isRawText;
}
