#include "core/number_text.h"
#include "tests/support/qstring_printer.h"

#include <QLocale>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <type_traits>

using namespace Qt::StringLiterals;

namespace {

using namespace number_text;

// What the C library reads from text in the C locale, with out-of-range values saturated to the largest
// finite value where it gives infinity.
template <typename T, typename Read> std::optional<T> CReference(const std::string& text, Read read) {
    char* end = nullptr;
    errno = 0;
    T value = read(text.c_str(), &end);
    if (end == text.c_str())
        return std::nullopt;
    if constexpr (std::is_floating_point_v<T>) {
        if (errno == ERANGE && std::isinf(value))
            value = std::copysign(std::numeric_limits<T>::max(), value);
    }
    return value;
}

// The C library in the C locale is the reference for what "%d" and "%f" read: value, where reading stops
// and whether anything was read at all.
TEST(NumberText, ReadsWhatTheCLibraryReadsAndSaturates) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    const QString texts[] = {
        // integers: white space, sign, leading zeros, digits of other scripts, saturation
        u" \t\r\n\v\f42xyz"_s, u"+7"_s, u"-0"_s, u"-12-3"_s, u"007"_s, u""_s, u"abc"_s, u"- 5"_s, u"+-5"_s,
        u"\u00a05"_s, u"\u0663"_s, u"\uff15"_s, u"2147483647"_s, u"2147483648"_s, u"-2147483648"_s,
        u"-2147483649"_s, u"9223372036854775807"_s, u"9223372036854775808"_s, u"-9223372036854775808"_s,
        u"-9223372036854775809"_s, QString(500, u'9') + u'x',
        // floating values: the longest number, exponents without digits, special and hexadecimal forms
        u"  1.5e3x"_s, u".5"_s, u"-5."_s, u"+2.5E-1"_s, u"1,5"_s, u"1e"_s, u"1e+x"_s, u"."_s, u"e5"_s,
        u"in"_s, u"-INF"_s, u"infinity!"_s, u"nan(abc)z"_s, u"NaN("_s, u"0x1.8p1"_s, u"-0X10"_s, u"0xg"_s,
        // out of range, and a float that must be rounded once from the text, not through a double
        u"1e400"_s, u"-123456789e999999999999"_s, u"0.00001e-400"_s, u"0x1p99999"_s, u"1e39"_s, u"-3.5e38"_s,
        u"1e-50"_s, u"1e38"_s, u"0.1"_s, u"1.00000005960464477539062500000000001"_s};
    const auto sameValue = [](auto a, auto b) {
        return a.has_value() == b.has_value() && (!a || *a == *b || (std::isnan(*a) && std::isnan(*b)));
    };
    for (const QString& text : texts) {
        const std::string bytes = text.toStdString();
        SCOPED_TRACE(bytes);
        char* cEnd = nullptr;
        qsizetype end = -1;

        const std::optional<long long> wide =
            CReference<long long>(bytes, [](const char* s, char** e) { return std::strtoll(s, e, 10); });
        EXPECT_EQ(ReadInt64(text, &end), wide);
        std::strtoll(bytes.c_str(), &cEnd, 10);
        EXPECT_EQ(end, cEnd - bytes.c_str());
        EXPECT_EQ(ReadInt(text),
                  wide ? std::optional<int>(std::clamp<long long>(*wide, INT_MIN, INT_MAX)) : std::nullopt);

        const auto d = CReference<double>(bytes, [](const char* s, char** e) { return std::strtod(s, e); });
        EXPECT_TRUE(sameValue(ReadDouble(text, &end), d));
        std::strtod(bytes.c_str(), &cEnd);
        EXPECT_EQ(end, cEnd - bytes.c_str());
        const auto f = CReference<float>(bytes, [](const char* s, char** e) { return std::strtof(s, e); });
        EXPECT_TRUE(sameValue(ReadFloat(text), f));
    }
}

// printf in the C locale is the reference for what "%d" and "%.Nf" write.
TEST(NumberText, WritesWhatTheCLibraryWrites) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    char expected[512];
    for (const qint64 value :
         {qint64{0}, qint64{-17}, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()}) {
        std::snprintf(expected, sizeof expected, "%lld", static_cast<long long>(value));
        EXPECT_EQ(FormatInt(value).toStdString(), expected);
    }
    // Signed zero, ties, infinity and the widest output (the largest value with 100 decimals).
    for (const double value : {-0.0, 2.5, 0.125, 1.5, std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::max()}) {
        for (const int places : {0, 2, 6, 100}) {
            std::snprintf(expected, sizeof expected, "%.*f", places, value);
            EXPECT_EQ(FormatFixed(value, places).toStdString(), expected) << value << " " << places;
        }
    }
    EXPECT_EQ(FormatFixed(1.5), u"1.500000"_s);

    const std::pair<qint64, QString> grouped[] = {
        {0, u"0"_s},
        {999, u"999"_s},
        {1000, u"1,000"_s},
        {-100000, u"-100,000"_s},
        {1234567, u"1,234,567"_s},
        {std::numeric_limits<qint64>::min(), u"-9,223,372,036,854,775,808"_s}};
    for (const auto& [value, text] : grouped)
        EXPECT_EQ(FormatGrouped(value), text);
    for (const auto& [number, text] : {std::pair{u"-123.45"_s, u"-123.45"_s},
                                       {u"1234567.5"_s, u"1,234,567.5"_s},
                                       {u"-1000.00"_s, u"-1,000.00"_s}})
        EXPECT_EQ(GroupDigits(number), text);

    std::mt19937_64 random(77);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 25);
    std::uniform_int_distribution<int> decimals(0, 12);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const int places = i % 2 == 0 ? 6 : decimals(random);
        std::snprintf(expected, sizeof expected, "%.*f", places, value);
        ASSERT_EQ(FormatFixed(value, places).toStdString(), expected) << value;

        char text[64];
        std::snprintf(text, sizeof text, "%.17g", value);
        ASSERT_EQ(ReadDouble(QString::fromLatin1(text)), std::strtod(text, nullptr)) << text;
        ASSERT_EQ(ReadFloat(QString::fromLatin1(text)), std::strtof(text, nullptr)) << text;
    }
}

TEST(NumberText, DecimalCommaLocaleChangesNothing) {
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    const QLocale savedQt;
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    char probe[32];
    std::snprintf(probe, sizeof probe, "%f", 1.5);
    EXPECT_STREQ(probe, "1,500000"); // the locale is really in effect

    EXPECT_EQ(FormatFixed(1.5), u"1.500000"_s);
    EXPECT_EQ(FormatFixed(-1234567.25, 2), u"-1234567.25"_s);
    EXPECT_EQ(FormatInt(1234567), u"1234567"_s);
    EXPECT_EQ(ReadDouble(u"1.25"), 1.25);
    EXPECT_EQ(ReadDouble(u"1,25"), 1.0);
    EXPECT_EQ(ReadFloat(u"-0.5"), -0.5f);

    std::setlocale(LC_ALL, savedC.c_str());
    QLocale::setDefault(savedQt);
}

} // namespace
