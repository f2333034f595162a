#include "core/packed_minutes.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr int kDaysPerMonth = 31;
constexpr int kMonthsPerYear = 12;
// (2000 x 12 + 1) x 31 + 1: the epoch's own day number, so 2000-01-01 packs to 0.
constexpr std::int64_t kEpochDay = 744032;

} // namespace

int PackMinutes(int year, int month, int day, int hour, int minute) {
    const std::int64_t days = (std::int64_t{year} * kMonthsPerYear + month) * kDaysPerMonth + day - kEpochDay;
    const std::int64_t minutes = minute + 60 * (hour + std::int64_t{24} * days);
    return static_cast<int>(
        std::clamp<std::int64_t>(minutes, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int MinutesComponent(int packed, int which) {
    switch (which) {
    case kMinutesMinute:
        return packed % 60;
    case kMinutesHour:
        return packed / 60 % 24;
    case kMinutesDay:
        return packed / kMinutesPerDay % kDaysPerMonth + 1;
    case kMinutesMonth:
        return packed / (kMinutesPerDay * kDaysPerMonth) % kMonthsPerYear + 1;
    case kMinutesYear:
        return packed / (kMinutesPerDay * kDaysPerMonth * kMonthsPerYear) + 2000;
    default:
        return -1;
    }
}

QDateTime UnpackMinutes(int packed) {
    if (packed < 0)
        return {};
    const QDate date(MinutesComponent(packed, kMinutesYear), MinutesComponent(packed, kMinutesMonth),
                     MinutesComponent(packed, kMinutesDay));
    if (!date.isValid())
        return {};
    return QDateTime(date,
                     QTime(MinutesComponent(packed, kMinutesHour), MinutesComponent(packed, kMinutesMinute)));
}

int NowAsMinutes() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return PackMinutes(date.year(), date.month(), date.day(), time.hour(), time.minute());
}

QString FormatMinutes(int packed) {
    // Every value a record holds is past the epoch: printed straight into one buffer, as every row of a
    // report of checks prints one.
    if (packed >= 0) {
        std::array<char, 32> text;
        char* at = text.data();
        const auto two = [&at](int value) {
            *at++ = char('0' + value / 10);
            *at++ = char('0' + value % 10);
        };
        two(MinutesComponent(packed, kMinutesHour));
        *at++ = ':';
        two(MinutesComponent(packed, kMinutesMinute));
        *at++ = ' ';
        at = std::to_chars(at, text.data() + text.size(), MinutesComponent(packed, kMinutesMonth)).ptr;
        *at++ = '-';
        two(MinutesComponent(packed, kMinutesDay));
        *at++ = '-';
        at = std::to_chars(at, text.data() + text.size(), MinutesComponent(packed, kMinutesYear)).ptr;
        return QString::fromLatin1(text.data(), at - text.data());
    }
    const auto padded = [](int value, int width) { return u"%1"_s.arg(value, width, 10, QLatin1Char('0')); };
    return padded(MinutesComponent(packed, kMinutesHour), 2) + u':' +
           padded(MinutesComponent(packed, kMinutesMinute), 2) + u' ' +
           QString::number(MinutesComponent(packed, kMinutesMonth)) + u'-' +
           padded(MinutesComponent(packed, kMinutesDay), 2) + u'-' +
           padded(MinutesComponent(packed, kMinutesYear), 4);
}

PackedMinutesDay::PackedMinutesDay(const QDate& day) : m_day(day) {
    if (!day.isValid())
        return;
    for (int offset = -1; offset <= 1; ++offset) {
        const QDate date = day.addDays(offset);
        const QDateTime start(date, QTime(0, 0));
        const QDateTime end(date, QTime(23, 59));
        Nearby& nearby = m_nearby[size_t(offset + 1)];
        nearby.index = PackMinutes(date.year(), date.month(), date.day(), 0, 0) / kMinutesPerDay;
        nearby.plain = start.isValid() && end.isValid() && start.date() == date && end.date() == date &&
                       start.time() == QTime(0, 0) && end.time() == QTime(23, 59) &&
                       start.secsTo(end) == (kMinutesPerDay - 1) * 60;
    }
}

bool PackedMinutesDay::Contains(int packed) const {
    if (!m_day.isValid() || packed < 0)
        return UnpackMinutes(packed).date() == m_day;
    const int index = packed / kMinutesPerDay;
    for (size_t i = 0; i < m_nearby.size(); ++i) {
        if (m_nearby[i].index != index)
            continue;
        if (m_nearby[i].plain)
            return i == 1;
        return UnpackMinutes(packed).date() == m_day;
    }
    return false;
}

PackedMinutesDays::PackedMinutesDays(const QDate& first, int count) {
    if (!first.isValid())
        return;
    for (int i = 0; i < count; ++i) {
        const QDate day = first.addDays(i);
        m_days.emplace_back(day);
        m_numbers.push_back(PackMinutes(day.year(), day.month(), day.day(), 0, 0) / kMinutesPerDay);
    }
}

int PackedMinutesDays::DayOf(int packed) const {
    if (packed < 0 || m_numbers.empty())
        return -1;
    // A clock change moves a time by less than a day: the value lies on the day its number names or on one
    // of that day's neighbours.
    const int number = packed / kMinutesPerDay;
    const int at = int(std::lower_bound(m_numbers.begin(), m_numbers.end(), number) - m_numbers.begin());
    for (const int day : {at, at - 1, at + 1})
        if (day >= 0 && day < int(m_days.size()) && m_days[size_t(day)].Contains(packed))
            return day;
    return -1;
}
