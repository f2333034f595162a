#include "skin/calendar_grid.h"

namespace skin {

int PackedDate(const QDate& date) {
    return (date.month() + (date.year() % 100) * 20) * 50 + date.day();
}

QDate FirstShownDay(int year, int month, int firstDayOfWeek) {
    const QDate first(year, month, 1);
    // dayOfWeek() counts Monday as 1, so weekday - 1 is the column scheme's day number.
    const int back = ((first.dayOfWeek() - 1) - firstDayOfWeek + 7) % 7;
    return first.addDays(-back);
}

} // namespace skin
