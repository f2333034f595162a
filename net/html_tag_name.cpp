#include "net/html_tag_name.h"

#include "net/html_tags.h"

#include <QString>
#include <algorithm>
#include <vector>

namespace {

bool isNameDelimiter(char16_t c) {
    return c == u' ' || c == u'>' || c == u'\r' || c == u'\n' || c == u'\t' || c == u'\'' || c == u'"';
}

std::vector<QStringView> wordsOf(QStringView list) {
    std::vector<QStringView> words;
    for (const QStringView word : list.tokenize(u' ', Qt::SkipEmptyParts))
        words.push_back(word);
    return words;
}

// The lists have no blank in a word, so a name is between blanks in a list exactly when it equals a word.
bool isWordOf(const std::vector<QStringView>& words, QStringView name) {
    for (const QStringView word : words) {
        if (word.size() == name.size() && word == name)
            return true;
    }
    return false;
}

} // namespace

bool isVoidElement(QStringView upperName) {
    static const std::vector<QStringView> words = wordsOf(html_tag_lists::kVoidElements);
    return isWordOf(words, upperName);
}

bool isRawTextElement(QStringView upperName) {
    static const std::vector<QStringView> words = wordsOf(html_tag_lists::kRawTextElements);
    return isWordOf(words, upperName);
}

bool isImplicitlyClosed(QStringView upperName) {
    static const std::vector<QStringView> words = wordsOf(html_tag_lists::kImplicitlyClosed);
    return isWordOf(words, upperName);
}

QStringView rawTagName(QStringView tagText) {
    if (tagText.size() <= 2 || tagText.front() != u'<')
        return {};
    qsizetype end = 1;
    while (end < tagText.size() && !isNameDelimiter(tagText[end].unicode()))
        ++end;
    if (end == tagText.size())
        return {};
    QStringView name = tagText.sliced(1, end - 1).trimmed();
    while (!name.isEmpty() && name.front() == u'/')
        name = name.sliced(1);
    while (!name.isEmpty() && name.back() == u'/')
        name.chop(1);
    return name;
}

HtmlUpperName::HtmlUpperName(QStringView tagText) {
    const QStringView name = rawTagName(tagText);
    bool ascii = true;
    for (const QChar c : name)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        m_chars.resize(name.size());
        for (qsizetype i = 0; i < name.size(); ++i) {
            const char16_t c = name[i].unicode();
            m_chars[i] = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
        }
        return;
    }
    // Full Unicode upper-casing, which may change the length (a sharp s becomes two letters).
    const QString upper = name.toString().toUpper();
    m_chars.resize(upper.size());
    const char16_t* chars = reinterpret_cast<const char16_t*>(upper.constData());
    std::copy(chars, chars + upper.size(), m_chars.begin());
}

bool tagListContains(QStringView list, QStringView name) {
    if (name.isEmpty())
        return list.contains(u"  ");
    for (qsizetype at = list.indexOf(name); at >= 0; at = list.indexOf(name, at + 1)) {
        const qsizetype after = at + name.size();
        if (at > 0 && list[at - 1] == u' ' && after < list.size() && list[after] == u' ')
            return true;
    }
    return false;
}
