#include "platform/application.h"
#include "platform/keys.h"
#include "skin/input_dlg.h"
#include "tests/projects/kind_test.h"
#include "tests/projects/project5_test_support.h"
#include "tests/support/qstring_printer.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_clock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using kind5test::DataBytes;
using kind5test::FileBytes;
using skintest::ModalScript;

namespace {

// The positions the report shows for a pair: Google, Bing, Yahoo, and whether a check is shown at all.
std::vector<int> Shown(CProject5& project, int item) {
    const CProject5_Check* check = project.m_rep.ShownCheck(item);
    if (!check)
        return {};
    return {check->m_positions[0], check->m_positions[1], check->m_positions[2]};
}

// The keyword dialog, then the site dialog, each given its text and accepted.
void TypePair(ModalScript& script, const QString& keywords, const QString& sites) {
    for (const QString& text : {keywords, sites}) {
        script.Then(ModalScript::On<CInputDlg>([text](CInputDlg& dlg) {
            dlg.m_edit.SetText(text);
            dlg.OnCommand(u"on_ok"_s, 0);
        }));
    }
}

bool HasChecks(CProject5& project, size_t count) {
    for (const CProject5_Entry& entry : project.m_list.m_entries)
        if (entry.m_checks.size() != count)
            return false;
    return !project.m_list.m_entries.empty();
}

// Presses and releases the left button over the date selector's cell of day.
void ClickDay(CMainDlg& dlg, const CSkinDateSelect& calendar, const QDate& day) {
    const qint64 cell = calendar.FirstShownDay().daysTo(day);
    ASSERT_TRUE(cell >= 0 && cell < 42);
    const plat::Point at = calendar.GetDialogPos();
    const int x = at.x + 14 + int(cell % 7) * 24 + 12;
    const int y = at.y + 46 + int(cell / 7) * 15 + 7;
    dlg.onMouseMove(x, y);
    dlg.onLButtonDown(x, y);
    dlg.onLButtonUp(x, y);
    dlg.onMouseMove(x, y);
}

bool Bold(const CSkinDateSelect& calendar, const QDate& day) {
    const qint64 cell = calendar.FirstShownDay().daysTo(day);
    return calendar.m_bold[size_t((cell % 7) * 6 + cell / 7)];
}

class BidWatchtower : public projtest::KindTest {
  protected:
    // The page of each engine for any keyword, and for one keyword in particular.
    void ServeAll(const QString& google, const QString& bing, const QString& yahoo) {
        m_server.ServeFile(Endpoint::GoogleWeb, "/search", {}, u"kind5/"_s + google);
        m_server.ServeFile(Endpoint::BingWeb, "/search", {}, u"kind5/"_s + bing);
        m_server.ServeFile(Endpoint::YahooWeb, "/search", {}, u"kind5/"_s + yahoo);
    }
    int Requests() const {
        return m_server.CountRequests(Endpoint::GoogleWeb) + m_server.CountRequests(Endpoint::BingWeb) +
               m_server.CountRequests(Endpoint::YahooWeb);
    }
};

} // namespace

// Two pairs typed into the input dialogs are saved at once; the tick checks both on the three engines when
// they are due and not before; a page that failed gives "No Data" with its error shown, a page without ads
// but with results "Not shown", a block page "No Data". The next day's check joins the history: the date
// selector marks both days, and picking the first shows its positions again. Delete removes a pair.
TEST_F(BidWatchtower, PairsAreCheckedOnScheduleWithADatedHistory) {
    // The wall clock the checks are dated and scheduled by; the monotonic clock stays real for the pool.
    twtest::TestClock clock({.utcSeconds = QDateTime(QDate(2026, 3, 10), QTime(9, 0)).toSecsSinceEpoch()});
    ServeAll(u"google_shoes.html"_s, u"bing_shoes.html"_s, u"yahoo_shoes.html"_s);
    m_server.Serve(Endpoint::BingWeb, "/search", {"q=hiking boots"},
                   twtest::HttpReply::With(twtest::HttpReply::Delivery::CloseAtOnce));
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=hiking boots"}, u"kind5/yahoo_boots.html"_s);

    apptest::OpenMainWindow& w = Window();
    CProject5& project = kind5test::ChooseMonitor(w.script, w.dlg);
    EXPECT_TRUE(w.dlg.m_minimizeToTray);
    const QString list = CProject5::ListPath();
    EXPECT_FALSE(QFile::exists(list)) << "nothing changed yet";

    // The test drives the tick itself, so that no check starts while the pairs are typed.
    skin::HostWindow(w.dlg).killTimer(CMainDlg::kProjectTimer);
    TypePair(w.script, u"running shoes"_s, u"WWW.ShoeShop.com "_s);
    skintest::ClickElement(w.dlg, project.m_btnAdd);
    TypePair(w.script, u"hiking boots\r\nRunning Shoes"_s, u"http://bootbarn.net\r\nshoeshop.com"_s);
    w.dlg.OnCommand(CProject5::kAddCommand, 0);
    EXPECT_TRUE(w.script.Done());
    ASSERT_EQ(project.m_list.m_entries.size(), 4u) << "each keyword with each site, the known pair once";
    EXPECT_EQ(project.m_list.m_entries[1].m_site, u"bootbarn.net"_s);
    EXPECT_EQ(FileBytes(list), DataBytes(u"list_added.zxml"_s));

    // Two pairs too many: Delete over the report takes the selected ones away.
    project.m_rep.SetFocus();
    w.dlg.onKeyUp('A', plat::kModControl, false);
    EXPECT_TRUE(project.m_rep.IsAllSelected()) << "Ctrl+A reaches the report like any grid";
    project.m_rep.SelectRange(2, 3);
    w.dlg.onKeyDown(plat::kKeyDelete, 0, false);
    ASSERT_EQ(project.m_list.m_entries.size(), 2u);
    EXPECT_EQ(project.m_list.m_entries[1].m_keyword, u"hiking boots"_s);

    ASSERT_TRUE(TickUntil([&] { return HasChecks(project, 1); }));
    EXPECT_EQ(Shown(project, 0), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(Shown(project, 1), (std::vector<int>{3, task_value::kNoData, 1}));
    EXPECT_EQ(project.m_page.m_bar.ErrorText(),
              u"Bing (hiking boots): Receive error: the server closed the connection without a reply"_s);
    EXPECT_EQ(project.m_page.m_bar.Progress().m_format, u"6 of 6 requests, 1 failed"_s);
    const auto boots = [&] {
        for (const QStringList& cells : projtest::ShownCells(project.m_rep))
            if (cells.value(0) == u"hiking boots"_s)
                return cells;
        return QStringList();
    };
    EXPECT_EQ(boots().mid(2, 3), (QStringList{u"3"_s, CFailedTasks::kCellText, u"1"_s}))
        << "the failed engine reads as failed, not as no data";
    EXPECT_FALSE(project.m_hasResults) << "the checks are in the list file already";
    EXPECT_EQ(Requests(), 6);
    Tick(20);
    EXPECT_EQ(Requests(), 6) << "nothing is due before the interval has passed";

    clock.AdvanceSeconds(24 * 3600);
    ServeAll(u"blocked.html"_s, u"bing_shoes.html"_s, u"yahoo_shoes.html"_s);
    ASSERT_TRUE(TickUntil([&] { return HasChecks(project, 2); }));
    EXPECT_EQ(Shown(project, 0), (std::vector<int>{task_value::kNoData, 1, 0}));
    EXPECT_EQ(Shown(project, 1), (std::vector<int>{task_value::kNoData, 2, 0}));
    EXPECT_EQ(boots().mid(2, 3), (QStringList{CKindReport::kNoData, u"2"_s, u"Not shown"_s}))
        << "the next check asks the failed engine again";
    EXPECT_TRUE(project.m_page.m_bar.Failures().isEmpty());

    CSkinDateSelect& calendar = project.m_dateSelect;
    EXPECT_EQ(calendar.SelectedDate(), QDate(2026, 3, 11)) << "the calendar follows the checks' clock";
    const QDate first(2026, 3, 10);
    EXPECT_TRUE(Bold(calendar, first));
    EXPECT_TRUE(Bold(calendar, first.addDays(1)));
    EXPECT_FALSE(Bold(calendar, first.addDays(-1)));
    EXPECT_FALSE(Bold(calendar, first.addDays(2)));
    ClickDay(w.dlg, calendar, first);
    EXPECT_EQ(project.m_rep.m_day, first);
    ExpectSameAsDataFile(ExportCurrent(u"day.csv"_s), u"kind5/export_first_day.csv"_s);
    project.m_rep.SelectRange(0, 0);
    EXPECT_EQ(project.m_rep.SelectedRowsText(),
              u"running shoes\tshoeshop.com\t2\t1\tNot shown\t09:00 3-10-2026\r\n"_s);
    const std::vector<skin::ContextMenuItem> menu = project.m_rep.ContextMenuItems();
    ASSERT_EQ(menu.size(), 8u) << "Copy, and Send to every kind that takes keywords";
    EXPECT_EQ(menu[1].command, u"new_project1running shoes;"_s);
    ClickDay(w.dlg, calendar, first.addDays(-1));
    EXPECT_EQ(Shown(project, 0), std::vector<int>{}) << "a day without checks shows none";
    ClickDay(w.dlg, calendar, first.addDays(1));
    EXPECT_FALSE(project.m_rep.m_day.isValid()) << "today shows the newest checks";
    ExpectSameAsDataFile(ExportCurrent(u"latest.htm"_s), u"kind5/export_latest.htm"_s);

    // The page with its results, written next to the test program to be looked at.
    plat::Application::processEvents();
    w.dlg.RedrawNow();
    const QString renders = QCoreApplication::applicationDirPath() + u"/renders"_s;
    QDir().mkpath(renders);
    EXPECT_TRUE(skin::HostWindow(w.dlg).backBuffer().saveImage(renders + u"/kind5_page.png"_s));
    EXPECT_EQ(FileBytes(list), DataBytes(u"list_two_days.zxml"_s));
    EXPECT_EQ(w.script.unscripted, 0);
}

// The keyword filter offers every watched keyword once, under its labels; the one picked leaves its pairs.
TEST_F(BidWatchtower, KeywordFilterOffersTheWatchedKeywords) {
    apptest::OpenMainWindow& w = Window();
    CProject5& project = kind5test::ChooseMonitor(w.script, w.dlg);
    skin::HostWindow(w.dlg).killTimer(CMainDlg::kProjectTimer);
    TypePair(w.script, u"running shoes\r\nhiking boots"_s, u"shoeshop.com\r\nbootbarn.net"_s);
    w.dlg.OnCommand(CProject5::kAddCommand, 0);
    ASSERT_EQ(project.m_list.m_entries.size(), 4u);

    QStringList offered;
    FilterColumn(project.m_rep, CProject5_Rep::kKeyword, [&](CSkinListBox_FilterDlg& dlg) {
        EXPECT_FALSE(dlg.m_labels[0].GetText().isEmpty());
        EXPECT_FALSE(dlg.m_containsCheck.GetText().isEmpty()) << "the contains box says what it does";
        for (int i = 0; i < dlg.m_dropList.GetCount(); ++i)
            offered << dlg.m_dropList.GetItemText(i);
        dlg.m_dropList.SetCurSel(int(offered.indexOf(u"hiking boots"_s)), true);
        dlg.m_enableCheck.m_checked = true;
        skintest::ClickElement(dlg, dlg.m_ok);
    });
    EXPECT_EQ(offered.mid(2), (QStringList{u"hiking boots"_s, u"running shoes"_s}));
    project.m_rep.UpdateItemCount();
    ASSERT_EQ(project.m_rep.VisibleCount(), 2);
    for (const int item : project.m_rep.Order())
        EXPECT_EQ(project.m_list.m_entries[size_t(item)].m_keyword, u"hiking boots"_s);
}
