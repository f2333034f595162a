#include "core/packed_minutes.h"
#include "tests/support/qstring_printer.h"

#include <ctime>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

struct Moment {
    int year, month, day, hour, minute;
};

int Pack(const Moment& m) {
    return PackMinutes(m.year, m.month, m.day, m.hour, m.minute);
}

// In time order, across month ends and a leap day: every component comes back and the packed order follows.
TEST(PackedMinutes, ComponentsComeBackAndOrderFollowsTime) {
    const std::vector<Moment> ascending = {
        {2000, 1, 1, 0, 0},  {2000, 1, 1, 0, 59},   {2000, 1, 1, 23, 59}, {2000, 1, 31, 23, 59},
        {2000, 2, 1, 0, 0},  {2000, 2, 29, 12, 0},  {2000, 3, 1, 0, 0},   {2000, 12, 31, 23, 59},
        {2009, 3, 7, 14, 5}, {2012, 2, 29, 23, 59}, {2038, 1, 19, 3, 14}, {2099, 12, 31, 12, 30},
    };
    for (size_t i = 0; i < ascending.size(); ++i) {
        const Moment& m = ascending[i];
        const int packed = Pack(m);
        SCOPED_TRACE(packed);
        EXPECT_TRUE(i == 0 || Pack(ascending[i - 1]) < packed);
        EXPECT_EQ(MinutesComponent(packed, kMinutesMinute), m.minute);
        EXPECT_EQ(MinutesComponent(packed, kMinutesHour), m.hour);
        EXPECT_EQ(MinutesComponent(packed, kMinutesDay), m.day);
        EXPECT_EQ(MinutesComponent(packed, kMinutesMonth), m.month);
        EXPECT_EQ(MinutesComponent(packed, kMinutesYear), m.year);
        const QDateTime unpacked = UnpackMinutes(packed);
        EXPECT_EQ(unpacked, QDateTime(QDate(m.year, m.month, m.day), QTime(m.hour, m.minute)));
        EXPECT_EQ(unpacked.timeSpec(), Qt::LocalTime);
    }
    EXPECT_EQ(MinutesComponent(1441, 5), -1);
    EXPECT_EQ(MinutesComponent(1441, -1), -1);
}

TEST(PackedMinutes, ImpossibleDatesUnpackAsInvalid) {
    EXPECT_FALSE(UnpackMinutes(PackMinutes(2009, 4, 31, 10, 0)).isValid());
    EXPECT_FALSE(UnpackMinutes(PackMinutes(2009, 2, 30, 10, 0)).isValid());
    EXPECT_FALSE(UnpackMinutes(PackMinutes(2009, 2, 29, 10, 0)).isValid());
    EXPECT_TRUE(UnpackMinutes(PackMinutes(2008, 2, 29, 10, 0)).isValid());
    EXPECT_FALSE(UnpackMinutes(-1).isValid());
    EXPECT_FALSE(UnpackMinutes(PackMinutes(1999, 12, 31, 23, 59)).isValid());
    EXPECT_FALSE(UnpackMinutes(std::numeric_limits<int>::min()).isValid());
    // Far dates saturate instead of overflowing.
    EXPECT_EQ(PackMinutes(std::numeric_limits<int>::max(), 12, 31, 23, 59), std::numeric_limits<int>::max());
    EXPECT_EQ(PackMinutes(std::numeric_limits<int>::min(), 1, 1, 0, 0), std::numeric_limits<int>::min());
}

TEST(PackedMinutes, EveryStoredValueUnpacksWithoutFault) {
    // A file can hold any number: walk the whole range in strides and by days across a leap year.
    std::vector<int> values = {std::numeric_limits<int>::max()};
    for (long long value = 0; value < std::numeric_limits<int>::max(); value += 7919 * 60 + 13)
        values.push_back(static_cast<int>(value));
    for (const int value : values) {
        const QDateTime unpacked = UnpackMinutes(value);
        if (unpacked.isValid()) {
            EXPECT_EQ(unpacked.date().year(), MinutesComponent(value, kMinutesYear));
            EXPECT_EQ(unpacked.date().day(), MinutesComponent(value, kMinutesDay));
        }
    }
    int valid = 0;
    for (int day = 0; day < 372; ++day)
        valid += UnpackMinutes(PackMinutes(2004, 1, 1, 12, 0) + day * 1440).isValid() ? 1 : 0;
    EXPECT_EQ(valid, 366);
}

TEST(PackedMinutes, NowIsTheCurrentLocalTime) {
    const auto packNow = [] {
        const QDateTime t = QDateTime::currentDateTime();
        return Pack({t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute()});
    };
    const int before = packNow();
    const int now = NowAsMinutes();
    const int after = packNow();
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
    EXPECT_GT(now, PackMinutes(2020, 1, 1, 0, 0));
}

// Times print as "hh:mm M-DD-YYYY".
TEST(PackedMinutes, FormatsHoursMinutesAndTheDate) {
    EXPECT_EQ(FormatMinutes(PackMinutes(2009, 3, 7, 14, 5)), QStringLiteral("14:05 3-07-2009"));
    EXPECT_EQ(FormatMinutes(0), QStringLiteral("00:00 1-01-2000"));
    EXPECT_EQ(FormatMinutes(PackMinutes(2026, 12, 31, 23, 59)), QStringLiteral("23:59 12-31-2026"));
    EXPECT_EQ(FormatMinutes(std::numeric_limits<int>::max()), QStringLiteral("02:07 11-23-6008"));
}

// Which checks fall on a day, and on which day of a calendar's six weeks, answers as unpacking each would,
// in zones whose clocks change: forward at two (Berlin), forward at midnight (Sao Paulo), back again, a whole
// day skipped (Apia), and around a month with 30 days, whose 31st packs to a value that is no date.
TEST(PackedMinutes, DayOfValuesAcrossClockChanges) {
    const QByteArray savedZone = qgetenv("TZ");
    const std::pair<const char*, std::vector<QDate>> zones[] = {
        {"Europe/Berlin", {{2026, 3, 28}, {2026, 3, 29}, {2026, 3, 30}, {2026, 10, 25}, {2026, 4, 30}}},
        {"America/Sao_Paulo", {{2018, 11, 3}, {2018, 11, 4}, {2018, 11, 5}, {2019, 2, 16}}},
        {"Pacific/Apia", {{2011, 12, 29}, {2011, 12, 30}, {2011, 12, 31}}},
        {"UTC", {{2000, 1, 1}, {2024, 2, 29}}}};
    for (const auto& [zone, days] : zones) {
        qputenv("TZ", zone);
        tzset();
        for (const QDate& day : days) {
            const PackedMinutesDay test(day);
            const int first = PackMinutes(day.year(), day.month(), day.day(), 0, 0) - 2 * 1440;
            for (int packed = std::max(0, first); packed < first + 5 * 1440; packed += 15)
                ASSERT_EQ(test.Contains(packed), UnpackMinutes(packed).date() == day)
                    << zone << " " << day.toString(Qt::ISODate).toStdString() << " " << packed;
            // Six weeks from two days before the day, and values from a day before them to a day after.
            const QDate shownFirst = day.addDays(-2);
            const PackedMinutesDays shown(shownFirst, 42);
            const int from =
                PackMinutes(shownFirst.year(), shownFirst.month(), shownFirst.day(), 0, 0) - 1440;
            for (int packed = std::max(0, from); packed < from + 47 * 1440; packed += 15) {
                const QDate on = UnpackMinutes(packed).date();
                const qint64 offset = on.isValid() ? shownFirst.daysTo(on) : -1;
                ASSERT_EQ(shown.DayOf(packed), offset >= 0 && offset < 42 ? int(offset) : -1)
                    << zone << " " << day.toString(Qt::ISODate).toStdString() << " " << packed;
            }
        }
    }
    EXPECT_FALSE(PackedMinutesDay(QDate(2026, 3, 29)).Contains(-1));
    EXPECT_TRUE(PackedMinutesDay(QDate()).Contains(-1)) << "no day, as an impossible value unpacks";
    EXPECT_EQ(PackedMinutesDays(QDate(2026, 3, 29), 42).DayOf(-1), -1);
    EXPECT_EQ(PackedMinutesDays(QDate(), 42).DayOf(PackMinutes(2026, 3, 29, 9, 0)), -1);
    savedZone.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedZone);
    tzset();
}

} // namespace
