#pragma once

#include <QString>
#include <QStringList>

// Sorted string lists kept by binary search: the values a column filter offers and the values it ticked.

// Inserts text at its place in the sorted list, unless an equal entry is there and duplicates are not
// allowed. Among equal entries the newest comes first.
void InsertSortedUnique(const QString& text, QStringList& list, bool ignoreCase, bool allowDuplicates);
// The same for many texts at once, as if each were inserted in turn, in time proportional to n log n rather
// than to the list's length for every text: how a report offers the values of all its rows.
void InsertSortedUnique(const QStringList& texts, QStringList& list, bool ignoreCase, bool allowDuplicates);
bool ContainsSorted(const QString& text, const QStringList& list, bool ignoreCase);
