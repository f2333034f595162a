#pragma once

#include <QStringView>
#include <QVarLengthArray>

// The element name in the raw text of a tag, as GetTagName defines it (empty when there is none).
QStringView rawTagName(QStringView tagText);

// The upper-case element name of a tag text. The parser and the queries compare names for every node, so
// the usual short ASCII names stay on the stack instead of costing an allocation each.
class HtmlUpperName {
  public:
    explicit HtmlUpperName(QStringView tagText);
    QStringView view() const { return QStringView(m_chars.data(), m_chars.size()); }

  private:
    QVarLengthArray<char16_t, 32> m_chars;
};

// Whether " " + name + " " occurs in list (the tag lists and the exclusion lists are written that way).
bool tagListContains(QStringView list, QStringView name);

// The same test for the three fixed lists, which every tag of a page goes through, word by word.
bool isVoidElement(QStringView upperName);
bool isRawTextElement(QStringView upperName);
bool isImplicitlyClosed(QStringView upperName);
