#pragma once

#include <QString>
#include <ostream>

// Lets GoogleTest show QString values in failure messages, with line breaks and tabs visible.
inline void PrintTo(const QString& text, std::ostream* os) {
    QString shown = text;
    shown.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    *os << '"' << shown.replace(u'\t', QStringLiteral("\\t")).toStdString() << '"';
}
