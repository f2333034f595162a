#include "skin/skin_win_list_element.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Whatever is added, the list stays empty; a click focuses it and sends nothing, a double click sends the
// list's command.
TEST(WinList, KeepsNothingAndSendsItsCommandOnlyOnADoubleClick) {
    skintest::TestDialog dlg;
    CSkinWinList list;
    dlg.build = [&](skintest::TestDialog& d) {
        list.CreateList(&d.m_rootHolder, d.m_nextElementId++, 0, 0, u"pick_list"_s);
        list.SetPosition(20, 40, 200, 100, 0);
    };
    dlg.Open();
    list.AddString(u"example.com"_s);
    EXPECT_EQ(list.GetCount(), 0);
    skintest::ClickElement(dlg, list);
    EXPECT_EQ(dlg.m_pFocus, &list);
    dlg.onLButtonDblClk(60, 60);
    EXPECT_EQ(dlg.commands, (QStringList{u"pick_list"_s}));
}
