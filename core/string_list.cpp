#include "core/string_list.h"

namespace {

QString Normalised(const QString& piece) {
    const QString lower = piece.toLower();
    QString out;
    out.reserve(lower.size());
    for (const QChar c : lower)
        if (c != u' ' || !out.endsWith(u' '))
            out.append(c);
    return out;
}

} // namespace

QStringList SplitString(const QString& text, const QString& separators, bool normalise, bool trim) {
    QStringList list;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        if (at < text.size() && !separators.contains(text[at]))
            continue;
        QString piece = text.mid(start, at - start);
        start = at + 1;
        if (trim)
            piece = piece.trimmed();
        if (normalise)
            piece = Normalised(piece);
        if (!piece.isEmpty())
            list.append(piece);
    }
    return list;
}

QString JoinStrings(const QStringList& list, const QString& separator) {
    return list.join(separator);
}
