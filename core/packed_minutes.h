#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <vector>

// Packed-minute timestamps of saved histories: minutes since 2000-01-01 00:00 local time in a calendar of
// 31-day months and 372-day years. Values order by time; differences are not exact durations.

// Components of MinutesComponent.
enum MinutesPart {
    kMinutesMinute = 0,
    kMinutesHour = 1,
    kMinutesDay = 2,
    kMinutesMonth = 3,
    kMinutesYear = 4
};

// Saturates at the int range for dates thousands of years away.
int PackMinutes(int year, int month, int day, int hour, int minute);

// Local date and time with seconds 0; invalid for a value that is no real date (negative, the 31st of a
// 30-day month, 30 February).
QDateTime UnpackMinutes(int packed);

// One component (MinutesPart); -1 for any other which.
int MinutesComponent(int packed, int which);

// The current local date and time, packed.
int NowAsMinutes();

// "hh:mm M-DD-YYYY", for example "14:05 3-07-2009".
QString FormatMinutes(int packed);

// Which packed values fall on one local day, as UnpackMinutes(packed).date() == day tells, without a
// date-time conversion for each: the local time zone is asked about the day and its neighbours once, and
// only values on a day whose clocks change are converted. A report that shows one day's checks tests every
// check of every row with it.
class PackedMinutesDay {
  public:
    explicit PackedMinutesDay(const QDate& day);

    const QDate& Day() const { return m_day; }
    bool Contains(int packed) const;

  private:
    // A day as packed values count them (packed / minutes per day), and whether every minute of it unpacks
    // to that date with nothing skipped or repeated.
    struct Nearby {
        int index = -1;
        bool plain = false;
    };

    QDate m_day;
    // The day before, the day, the day after: a clock change moves a time by less than a day.
    std::array<Nearby, 3> m_nearby;
};

// Which of a run of consecutive local days (a calendar's six weeks) a packed value falls on, as
// UnpackMinutes(packed).date() tells: each day is asked of the time zone once, so a calendar marks the days
// of many values in time linear in their number.
class PackedMinutesDays {
  public:
    PackedMinutesDays(const QDate& first, int count);

    // 0 for the first day on; -1 when the value falls on none of them.
    int DayOf(int packed) const;

  private:
    std::vector<PackedMinutesDay> m_days;
    // Each day's number as packed values count days, ascending with the days.
    std::vector<int> m_numbers;
};
