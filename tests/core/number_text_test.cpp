#include "core/number_text.h"

#include <QLocale>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

namespace {

using namespace number_text;

QString s(const char16_t* text) {
    return QString::fromUtf16(text);
}
std::string str(const QString& text) {
    return text.toStdString();
}

// --- integers ---

TEST(NumberTextInt, ReadsLeadingDigitsAfterSpaceAndSign) {
    qsizetype end = -1;
    EXPECT_EQ(readInt(u" \t\r\n\v\f42xyz", &end), 42);
    EXPECT_EQ(end, 8);
    EXPECT_EQ(readInt(u"+7"), 7);
    EXPECT_EQ(readInt(u"-0"), 0);
    EXPECT_EQ(readInt(u"-12-3"), -12);
    EXPECT_EQ(readInt(u"007"), 7);
}

TEST(NumberTextInt, NothingReadGivesNoValue) {
    qsizetype end = -1;
    EXPECT_FALSE(readInt(u"", &end));
    EXPECT_EQ(end, 0);
    EXPECT_FALSE(readInt(u"abc"));
    EXPECT_FALSE(readInt(u"- 5"));
    EXPECT_FALSE(readInt(u"+-5"));
    EXPECT_FALSE(readInt(u"\u00a05")); // a no-break space is not scanf's white space
    EXPECT_FALSE(readInt(u"\u0663"));  // nor is an Arabic-Indic digit a digit
    EXPECT_FALSE(readInt(u"\uff15"));  // nor a full-width one
}

TEST(NumberTextInt, OutOfRangeSaturates) {
    EXPECT_EQ(readInt(u"2147483647"), std::numeric_limits<int>::max());
    EXPECT_EQ(readInt(u"2147483648"), std::numeric_limits<int>::max());
    EXPECT_EQ(readInt(u"-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(readInt(u"-2147483649"), std::numeric_limits<int>::min());
    EXPECT_EQ(readInt64(u"9223372036854775807"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(readInt64(u"9223372036854775808"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(readInt64(u"-9223372036854775808"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(readInt64(u"-9223372036854775809"), std::numeric_limits<qint64>::min());
    qsizetype end = 0;
    const QString digits = QString(500, u'9') + u'x';
    EXPECT_EQ(readInt64(digits, &end), std::numeric_limits<qint64>::max());
    EXPECT_EQ(end, 500);
}

TEST(NumberTextInt, FormatsLikePercentD) {
    EXPECT_EQ(formatInt(0), s(u"0"));
    EXPECT_EQ(formatInt(-17), s(u"-17"));
    EXPECT_EQ(formatInt(std::numeric_limits<qint64>::min()), s(u"-9223372036854775808"));
    EXPECT_EQ(formatInt(std::numeric_limits<qint64>::max()), s(u"9223372036854775807"));
}

// --- floating values ---

TEST(NumberTextFloat, ReadsTheLongestNumber) {
    qsizetype end = -1;
    EXPECT_EQ(readDouble(u"  1.5e3x", &end), 1500.0);
    EXPECT_EQ(end, 7);
    EXPECT_EQ(readDouble(u".5"), 0.5);
    EXPECT_EQ(readDouble(u"-5."), -5.0);
    EXPECT_EQ(readDouble(u"+2.5E-1"), 0.25);
    EXPECT_EQ(readDouble(u"1,5"), 1.0);
    EXPECT_EQ(readDouble(u"1e", &end), 1.0);
    EXPECT_EQ(end, 1);
    EXPECT_EQ(readDouble(u"1e+x", &end), 1.0);
    EXPECT_EQ(end, 1);
}

TEST(NumberTextFloat, SpecialAndHexadecimalForms) {
    qsizetype end = 0;
    EXPECT_EQ(readDouble(u"-INF"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(readDouble(u"infinity!", &end), std::numeric_limits<double>::infinity());
    EXPECT_EQ(end, 8);
    EXPECT_TRUE(std::isnan(*readDouble(u"nan(abc)z", &end)));
    EXPECT_EQ(end, 8);
    EXPECT_TRUE(std::isnan(*readDouble(u"NaN(", &end)));
    EXPECT_EQ(end, 3);
    EXPECT_EQ(readDouble(u"0x1.8p1"), 3.0);
    EXPECT_EQ(readDouble(u"-0X10"), -16.0);
    EXPECT_EQ(readDouble(u"0xg", &end), 0.0);
    EXPECT_EQ(end, 1);
}

TEST(NumberTextFloat, NothingReadGivesNoValue) {
    EXPECT_FALSE(readDouble(u""));
    EXPECT_FALSE(readDouble(u"."));
    EXPECT_FALSE(readDouble(u"e5"));
    EXPECT_FALSE(readDouble(u"+-1"));
    EXPECT_FALSE(readDouble(u"in"));
    EXPECT_FALSE(readFloat(u"x1"));
}

TEST(NumberTextFloat, OutOfRangeSaturates) {
    EXPECT_EQ(readDouble(u"1e400"), std::numeric_limits<double>::max());
    EXPECT_EQ(readDouble(u"-123456789e999999999999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(readDouble(u"0.00001e-400"), 0.0);
    EXPECT_EQ(readDouble(u"0x1p99999"), std::numeric_limits<double>::max());
    EXPECT_EQ(readFloat(u"1e39"), std::numeric_limits<float>::max());
    EXPECT_EQ(readFloat(u"-3.5e38"), -std::numeric_limits<float>::max());
    EXPECT_EQ(readFloat(u"1e-50"), 0.0f);
    EXPECT_EQ(readFloat(u"1e38"), 1e38f);
}

TEST(NumberTextFloat, FloatsRoundOnceFromTheText) {
    EXPECT_EQ(readFloat(u"0.1"), 0.1f);
    // Halfway between two floats when read as a double first; read directly it rounds up.
    EXPECT_EQ(readFloat(u"1.00000005960464477539062500000000001"), std::nextafter(1.0f, 2.0f));
}

TEST(NumberTextFloat, FormatsWithFixedDecimals) {
    EXPECT_EQ(formatFixed(1.5), s(u"1.500000"));
    EXPECT_EQ(formatFixed(-0.0), s(u"-0.000000"));
    EXPECT_EQ(formatFixed(1e20), s(u"100000000000000000000.000000"));
    EXPECT_EQ(formatFixed(2.5, 0), s(u"2"));
    EXPECT_EQ(formatFixed(0.125, 2), s(u"0.12"));
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::infinity()), s(u"inf"));
    EXPECT_EQ(formatFixed(-std::numeric_limits<double>::max(), 100).size(), 1 + 309 + 1 + 100);
}

// printf and strtod in the C locale are the reference for what the design's "%f" reads and writes.
TEST(NumberTextFloat, AgreesWithTheCLibraryInTheCLocale) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    std::mt19937_64 random(77);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 25);
    std::uniform_int_distribution<int> decimals(0, 12);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const int places = i % 2 == 0 ? 6 : decimals(random);
        char expected[512];
        std::snprintf(expected, sizeof expected, "%.*f", places, value);
        ASSERT_EQ(str(formatFixed(value, places)), expected) << value;

        char text[64];
        std::snprintf(text, sizeof text, "%.17g", value);
        ASSERT_EQ(readDouble(QString::fromLatin1(text)), std::strtod(text, nullptr)) << text;
        ASSERT_EQ(readFloat(QString::fromLatin1(text)), std::strtof(text, nullptr)) << text;
    }
}

// --- locale independence ---

TEST(NumberTextLocale, DecimalCommaLocaleChangesNothing) {
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    const QLocale savedQt;
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    char probe[32];
    std::snprintf(probe, sizeof probe, "%f", 1.5);
    EXPECT_STREQ(probe, "1,500000"); // the locale is really in effect

    EXPECT_EQ(formatFixed(1.5), s(u"1.500000"));
    EXPECT_EQ(formatFixed(-1234567.25, 2), s(u"-1234567.25"));
    EXPECT_EQ(formatInt(1234567), s(u"1234567"));
    EXPECT_EQ(readDouble(u"1.25"), 1.25);
    EXPECT_EQ(readDouble(u"1,25"), 1.0);
    EXPECT_EQ(readFloat(u"-0.5"), -0.5f);

    std::setlocale(LC_ALL, savedC.c_str());
    QLocale::setDefault(savedQt);
}

} // namespace
