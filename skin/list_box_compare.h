#pragma once

#include <QString>

// Comparisons of report values in which no-data values sort after every real value, whichever the direction.
// The grid negates a result when it sorts descending, so these answer in the ascending sense and, for a
// no-data value, already answer the other way round when descending. invert makes a column's natural order
// descending.

// No data is -1 and -2; -1 rows come after -2 rows.
int CompareIntValues(int a, int b, bool invert, bool descending);

// No data is any value below zero, and NaN (which sorts before every other no-data value, ascending).
int CompareFloatValues(float a, float b, bool invert, bool descending);

// Cell texts: "N/A", "-" and the empty text are no data. numeric reads both as numbers after trimming
// trimChars from both ends and dropping every ','; equal numbers fall back to the part after separator (a
// text starting with it sorts first in both directions); anything else compares character codes.
int CompareNumberTexts(const QString& a, const QString& b, bool numeric, const QString& trimChars,
                       QChar separator, bool descending);
