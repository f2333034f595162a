#include "app/command_line.h"

using namespace Qt::StringLiterals;

QString JoinCommandLine(const QStringList& arguments) {
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString& argument : arguments) {
        const bool blank = argument.isEmpty() || argument.contains(u' ') || argument.contains(u'\t');
        parts.append(blank ? u'"' + argument + u'"' : argument);
    }
    return parts.join(u' ');
}
