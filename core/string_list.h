#pragma once

#include <QString>
#include <QStringList>

// Cuts text at every character of separators and drops empty pieces. trim strips white space from each
// piece; normalise lower-cases it and makes every run of blanks one blank. Pieces left empty are dropped.
QStringList SplitString(const QString& text, const QString& separators, bool normalise, bool trim);

// The entries in order with separator between neighbours; an empty list gives empty text.
QString JoinStrings(const QStringList& list, const QString& separator);
