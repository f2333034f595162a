#include "skin/skin_edit.h"
#include "skin/skin_edit_int.h"
#include "tests/support/skin_test_support.h"

#include <climits>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Numbers typed into fields read as "%d" reads them; what does not fit in an int saturates instead of
// wrapping round to a number the user never typed.
TEST(SkinEditInt, ReadsTheLeadingNumberAndSaturates) {
    skintest::UnshownDialog shown;
    CSkinEdit field;
    field.Create(&shown.dlg.m_rootHolder, 2, QString(), false, true, u"n"_s, QString());
    const struct {
        QString caption;
        int value;
    } cases[] = {
        {u"12"_s, 12}, {u"12 seconds"_s, 12},       {u"  -7"_s, -7},
        {u"+5x"_s, 5}, {u"seconds"_s, 0},           {QString(), 0},
        {u"- 3"_s, 0}, {u"99999999999"_s, INT_MAX}, {u"-99999999999"_s, INT_MIN},
    };
    for (const auto& c : cases) {
        field.SetText(c.caption);
        EXPECT_EQ(GetSkinEditInt(field), c.value) << c.caption.toStdString();
    }
    for (const int value : {0, -42, INT_MIN, INT_MAX}) {
        SetSkinEditInt(field, value);
        EXPECT_EQ(GetSkinEditInt(field), value);
    }
    SetSkinEditInt(field, -42);
    EXPECT_EQ(field.GetText(), u"-42"_s);
}
