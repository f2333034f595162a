#include "net/crawler.h"
#include "skin/skin_drop_list.h"
#include "tests/app/app_test_support.h"
#include "tests/skin/skin_test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The history fills a real keyword list without a notification, so opening a page never asks whether to
// clear the history; the text typed before stays. An empty history leaves the list empty; the list's silent
// clearing (the answer to declining to clear the history) sends nothing either.
TEST(HistoryCombo, FillsAKeywordListSilentlyAndKeepsItsText) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    CProjectCrawler crawler(apptest::TemporaryFolders(root));
    skintest::UnshownDialog page;
    CSkinDropList list;
    list.Create(&page.dlg.m_rootHolder, 5, u"typed"_s, true, u"prj1_edit_keyword"_s);
    list.SetPosition(10, 10, 200, 25, 0);

    crawler.FillHistoryCombo(list);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetText(), QString());

    crawler.AddKeywordToHistory(u"older"_s, false);
    crawler.AddKeywordToHistory(u"newer"_s, false);
    list.SetText(u"typed"_s);
    crawler.FillHistoryCombo(list);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetItemText(0), u"-- Clear history --"_s);
    EXPECT_EQ(list.GetItemText(1), u"newer"_s);
    EXPECT_EQ(list.GetItemText(2), u"older"_s);
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_EQ(list.GetText(), u"typed"_s);

    list.ClearSelection();
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(list.GetText(), QString());
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_TRUE(page.dlg.commands.isEmpty());
}
