#include "skin/text_escape.h"

using namespace Qt::StringLiterals;

QString EscapeMarkup(const QString& text) {
    QString escaped = text;
    escaped.replace(u'&', u"&amp;"_s);
    escaped.replace(u'<', u"&lt;"_s);
    escaped.replace(u'>', u"&gt;"_s);
    return escaped;
}

QString EscapeScriptString(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            escaped += u"\\\\"_s;
            break;
        case u'"':
            escaped += u"\\\""_s;
            break;
        case u'\'':
            escaped += u"\\'"_s;
            break;
        case u'\n':
            escaped += u"\\n"_s;
            break;
        case u'\r':
            escaped += u"\\r"_s;
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}
