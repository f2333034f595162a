#pragma once

#include <QString>

// How report cells print numbers: digits grouped by three with ',', and the no-data and empty values of the
// records shown as text. Each call returns its own text.

// Empty text for emptyValue, noDataText for noDataValue, else the digits grouped ("-1,234").
QString FormatInt(int v, int emptyValue, int noDataValue,
                  const QString& noDataText = QStringLiteral("No Data"));

// Empty text for emptyValue, "No Data" for noDataValue and for NaN, else two decimals (trailing zeros and a
// trailing point dropped when trimZeros) with the integer part grouped ("1,234.5").
QString FormatFloat(float v, bool trimZeros, float emptyValue, float noDataValue);
