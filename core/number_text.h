#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

// Numbers in files, URLs and on the wire, independent of the process locale (a decimal-comma locale must
// not change a saved file).
//
// Reading follows scanf's "%d" and "%f": leading white space (space, TAB, LF, VT, FF, CR) is skipped, an
// optional sign is taken, then as much of a number as stands there; reading stops at the first character
// that does not belong to it. Nothing read gives no value. A value out of range saturates: integers to the
// type's limits, floating values to the largest finite value (or to zero when too small).
// Floating text may also be "inf", "infinity", "nan" or hexadecimal ("0x1.8p3"), as scanf accepts.
//
// When end is given it receives the index just after the number (0 when nothing was read).
namespace number_text {

std::optional<int> ReadInt(QStringView text, qsizetype* end = nullptr);
std::optional<qint64> ReadInt64(QStringView text, qsizetype* end = nullptr);
std::optional<double> ReadDouble(QStringView text, qsizetype* end = nullptr);
std::optional<float> ReadFloat(QStringView text, qsizetype* end = nullptr);

// printf's "%d" (and "%lld").
QString FormatInt(qint64 value);

// "%d" with a ',' between every three digits, as numbers are shown to the user ("-1,234,567").
QString FormatGrouped(qint64 value);

// A number text as FormatInt or FormatFixed write it, with a ',' between every three digits of its integer
// part counted back from the point (or the end), never after a leading minus sign ("-1,234.50").
QString GroupDigits(QString number);

// printf's "%.Nf": always the given number of decimals, rounded to nearest; "%f" is six decimals.
// decimals is clamped to 0..100.
QString FormatFixed(double value, int decimals = 6);

} // namespace number_text
