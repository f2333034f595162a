#include "skin/input_check.h"

#include <QList>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace skin {

namespace {

// The check's copy: lower case, without one leading "http://", then "https://", then "www.".
QString DomainCopy(const QString& text) {
    QString copy = text.toLower();
    for (const QLatin1StringView prefix : {"http://"_L1, "https://"_L1, "www."_L1})
        if (copy.startsWith(prefix))
            copy.remove(0, prefix.size());
    return copy;
}

bool DomainCharacter(char32_t c, bool multiLine) {
    if (c == U'-' || c == U'.' || (multiLine && (c == U'\r' || c == U'\n')))
        return true;
    return QChar::isLetter(c) || QChar::isDigit(c);
}

} // namespace

QString InputRefusal(const QString& text, bool domainMode, bool multiLine, const QString& emptyMessage) {
    if (!domainMode) {
        if (!text.isEmpty())
            return QString();
        return emptyMessage.isEmpty() ? u"Please enter the keyword(s) you want to query,"_s : emptyMessage;
    }
    const QString copy = DomainCopy(text);
    if (copy.isEmpty()) {
        return emptyMessage.isEmpty() ? u"Please enter the domain name you want to search for."_s
                                      : emptyMessage;
    }
    if (copy.contains(u'/'))
        return u"Only domain names are allowed (eg. example.com)."_s;
    if (!copy.contains(u'.'))
        return u"Your domain name does not have an extension"_s;
    for (const char32_t c : copy.toUcs4()) {
        if (!DomainCharacter(c, multiLine)) {
            return u"Invalid characters found in your domain name. Valid characters include a-z, 0-9, '-' and '.'."_s;
        }
    }
    return QString();
}

QString TrimEachLine(const QString& text) {
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        line = line.trimmed();
    return lines.join(u"\r\n"_s);
}

} // namespace skin
