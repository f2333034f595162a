#pragma once

#include <QString>
#include <QStringList>

// Sorted string lists kept by binary search: the values a column filter offers and the values it ticked.

// Inserts text at its place in the sorted list, unless an equal entry is there and duplicates are not
// allowed.
void InsertSortedUnique(const QString& text, QStringList& list, bool ignoreCase, bool allowDuplicates);
bool ContainsSorted(const QString& text, const QStringList& list, bool ignoreCase);
