#include "parsers/scan_format.h"

#include <gtest/gtest.h>

namespace {

TEST(ScanFormat, ReadsLikeScanfAndStopsAtTheFirstMismatch) {
    int a = -2;
    int b = -2;
    float c = -2.0f;
    // White space in the format matches any amount, none included.
    EXPECT_EQ(ScanFormat(u"Results 1 -10 of   2.5e3 more", u"Results %d - %d of %f", {a, b, c}), 3);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 10);
    EXPECT_FLOAT_EQ(c, 2500.0f);

    a = b = -2;
    c = -2.0f;
    EXPECT_EQ(ScanFormat(u"Results 3 - x of 5", u"Results %d - %d of %f", {a, b, c}), 1);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, -2);
    EXPECT_FLOAT_EQ(c, -2.0f);
    EXPECT_EQ(ScanFormat(u"results 4", u"Results %d", {a}), 0); // literals match case
    EXPECT_EQ(a, 3);
    EXPECT_EQ(ScanFormat(u"", u"%d", {a}), 0);
}

TEST(ScanFormat, LiteralsPercentAndMismatchedOutputs) {
    float price = 0.0f;
    EXPECT_EQ(ScanFormat(u"$1.25", u"$%f", {price}), 1);
    EXPECT_FLOAT_EQ(price, 1.25f);
    int percent = 0;
    EXPECT_EQ(ScanFormat(u"50 %", u"%d%%", {percent}), 1);
    EXPECT_EQ(percent, 50);
    // A conversion without an output of its type reads nothing.
    EXPECT_EQ(ScanFormat(u"5", u"%f", {percent}), 0);
    EXPECT_EQ(ScanFormat(u"5 6", u"%d %d", {percent}), 1);
}

} // namespace
