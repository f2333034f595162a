#pragma once

#include <QString>
#include <QStringView>
#include <string>

namespace skin {

// A text filter's pattern: a word or phrase with an optional '*' at its start and at its end. Without stars
// it matches whole words only; a trailing star also takes words that begin with it, a leading star words
// that end with it, and both any occurrence inside a word. Matching ignores case: the filter dialog stores
// its patterns lower-cased. A pattern of stars alone matches any text.
class WildcardPattern {
  public:
    explicit WildcardPattern(const QString& pattern);

    // Position of the first acceptable occurrence in text; -1 when there is none.
    qsizetype FindIn(QStringView text) const;

  private:
    // The next place from from on where the core stands, ignoring case; -1 when none.
    qsizetype FindCore(QStringView text, qsizetype from) const;
    bool StartAccepted(QStringView text, qsizetype at) const;
    bool EndAccepted(QStringView text, qsizetype at) const;

    QString m_core;
    // The core folded, to compare with the text folded as it is read.
    std::u16string m_folded;
    bool m_leadingStar = false;
    bool m_trailingStar = false;
};

} // namespace skin
