#include "projects/kind4/project4_creation_date.h"

#include <gtest/gtest.h>

namespace {

TEST(Project4CreationDate, BothWhoisOrdersBecomeOneDateAndNonsenseNone) {
    const struct {
        int parsed;
        const char* shown;
        int ymd;
    } cases[] = {
        {20010415, "2001-04-15", 20010415}, // year, month, day
        {150305, "2005-03-15", 20050315},   // day, month, two-digit year
        {311299, "1999-12-31", 19991231},   // a two-digit year from 70 on is last century
        {10710, "2010-07-01", 20100701},    // day 1: the leading zero is gone
        {31505, "", 0},                     // month first (03/15/2005) reads as month 15
        {20011301, "", 0},                  // month 13
        {20010400, "", 0},                  // day 0
        {0, "", 0},                         // none found
        {-1, "", 0},                        // not fetched
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Project4CreationText(c.parsed).toStdString(), c.shown) << c.parsed;
        EXPECT_EQ(Project4CreationYmd(c.parsed), c.ymd) << c.parsed;
    }
    // The two orders of one day sort as one.
    EXPECT_EQ(Project4CreationYmd(150305), Project4CreationYmd(20050315));
}

} // namespace
