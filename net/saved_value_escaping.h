#pragma once

#include <QString>
#include <QStringView>

namespace saved_markup {

// The indentation of one level of a saved file.
inline constexpr int kIndentStep = 3;

// Text written into a QString, with the names of the UTF-8 writer's appends.
class Utf16Out {
  public:
    explicit Utf16Out(QString& out) : m_out(out) {}
    void Append(QStringView text) { m_out.append(text); }
    void Append(char16_t c) { m_out.append(QChar(c)); }
    void AppendSpaces(qsizetype count) { m_out.append(QString(count, u' ')); }

  private:
    QString& m_out;
};

// Escapes a value so the forgiving reader gives it back exactly: markup characters become entities, and the
// white space the reader would fold (line breaks, tabs, the second blank of a run) becomes a reference.
// Runs that need no escape are written whole.
template <typename Out> void AppendEscaped(Out& out, QStringView text) {
    const char16_t* chars = text.utf16();
    const qsizetype size = text.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        QStringView escape;
        switch (c) {
        case u'&':
            escape = u"&amp;";
            break;
        case u'<':
            escape = u"&lt;";
            break;
        case u'>':
            escape = u"&gt;";
            break;
        case u'\r':
            escape = u"&#13;";
            break;
        case u'\n':
            escape = u"&#10;";
            break;
        case u'\t':
            escape = u"&#9;";
            break;
        case u' ':
            if (i > 0 && chars[i - 1] == u' ')
                escape = u"&#32;";
            break;
        default:
            break;
        }
        if (escape.isEmpty())
            continue;
        out.Append(text.sliced(from, i - from));
        out.Append(escape);
        from = i + 1;
    }
    out.Append(text.sliced(from));
}

} // namespace saved_markup
