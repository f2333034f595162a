#pragma once

#include <QDate>

// Date arithmetic of the month calendar, in calendar days: no hour of a clock change can shift a day.

namespace skin {

// The date as the calendar's notifications carry it: (month + (year mod 100) x 20) x 50 + day.
int PackedDate(const QDate& date);

// The first day a month's calendar shows: the last day on or before the 1st of the month that falls on the
// first day of the week (0 = Monday ... 6 = Sunday).
QDate FirstShownDay(int year, int month, int firstDayOfWeek);

} // namespace skin
