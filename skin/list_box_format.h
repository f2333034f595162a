#pragma once

#include <QString>

// How report cells print numbers: digits grouped by three with ',', and the no-data and empty values of the
// records shown as text. Each call returns its own text.

// The leading run of digits of text (after a leading sign) with a ',' between every three of them counted
// from its end; the rest stays as it is: "1234 searches" becomes "1,234 searches", "-1234.5" "-1,234.5".
QString GroupDigits(const QString& text);

// Empty text for emptyValue, noDataText for noDataValue, else the digits grouped ("-1,234").
QString FormatInt(int v, int emptyValue, int noDataValue,
                  const QString& noDataText = QStringLiteral("No Data"));

// Empty text for emptyValue, "No Data" for noDataValue and for NaN, else two decimals (trailing zeros and a
// trailing point dropped when trimZeros) with the integer part grouped ("1,234.5").
QString FormatFloat(float v, bool trimZeros, float emptyValue, float noDataValue);
