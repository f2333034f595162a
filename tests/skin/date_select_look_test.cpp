#include "skin/skin_date_select.h"
#include "tests/skin/contrast.h"
#include "tests/support/skin_test_support.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The day-name row read as the user sees it: which of the seven 24-px columns hold ink (pixels that differ
// from the blank body left of the grid), whether ink lies on a border between two columns (names running
// together), and the strongest contrast of that ink against the body.
struct NameRow {
    int columnsWithInk = 0;
    int inkOnBorders = 0;
    double strongest = 1.0;
};

NameRow ReadNameRow(const plat::DeviceContext& dc) {
    const plat::ColorRef body = dc.getPixel(3, 36);
    auto inkAt = [&](int x) {
        bool ink = false;
        for (int y = 31; y < 43; ++y)
            ink = ink || dc.getPixel(x, y) != body;
        return ink;
    };
    NameRow row;
    for (int column = 0; column < 7; ++column) {
        const int left = 14 + 24 * column;
        bool ink = false;
        for (int x = left + 1; x < left + 23; ++x) {
            ink = ink || inkAt(x);
            for (int y = 31; y < 43; ++y)
                row.strongest = std::max(row.strongest, skintest::ContrastRatio(dc.getPixel(x, y), body));
        }
        row.columnsWithInk += ink ? 1 : 0;
        row.inkOnBorders += inkAt(left) || inkAt(left + 23) ? 1 : 0;
    }
    return row;
}

} // namespace

// The seven day names stand apart, each within its column, and read against the body they lie on, also
// when the locale's names are long.
TEST(SkinDateSelect, DayNamesStandApartAndReadAgainstTheBody) {
    skintest::UnshownDialog d;
    CSkinDateSelect date;
    date.Create(&d.dlg.m_rootHolder, 2, u"date_sel_"_s);
    plat::DeviceContext dc(CSkinDateSelect::kWidth, CSkinDateSelect::kHeight);
    date.Draw(dc, 0, 0, true);
    NameRow row = ReadNameRow(dc);
    EXPECT_EQ(row.columnsWithInk, 7);
    EXPECT_EQ(row.inkOnBorders, 0);
    EXPECT_GE(row.strongest, 4.5);

    date.m_dayNames = {u"Monday"_s, u"Tuesday"_s,  u"Wednesday"_s, u"Thursday"_s,
                       u"Friday"_s, u"Saturday"_s, u"Sunday"_s};
    date.m_firstDayOfWeek = 6;
    date.Draw(dc, 0, 0, true);
    row = ReadNameRow(dc);
    EXPECT_EQ(row.columnsWithInk, 7);
    EXPECT_EQ(row.inkOnBorders, 0);
    EXPECT_TRUE(date.ShownDayName(0).startsWith(u"S"_s) && u"Sunday"_s.startsWith(date.ShownDayName(0)));
    EXPECT_TRUE(u"Wednesday"_s.startsWith(date.ShownDayName(3)));
}
