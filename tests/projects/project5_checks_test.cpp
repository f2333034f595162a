#include "app/project_exporter_csv.h"
#include "app/project_exporter_html.h"
#include "skin/input_dlg.h"
#include "tests/projects/project5_test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using apptest::ModalScript;
using kind5test::DataFile;
using kind5test::Engines;
using kind5test::FileBytes;
using kind5test::Program;

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
    for (const CProject5_Entry& entry : project.m_list.m_entries) {
        if (entry.m_checks.size() != count)
            return false;
    }
    return !project.m_list.m_entries.empty();
}

QString Export(CProject5& project, const QString& path) {
    std::unique_ptr<CProjectExporter> exporter;
    if (path.endsWith(u".csv"_s))
        exporter = std::make_unique<CProjectExporter_CSV>();
    else
        exporter = std::make_unique<CProjectExporter_HTML>();
    EXPECT_TRUE(exporter->Open(path));
    project.Export(exporter.get());
    exporter->Close();
    return QString::fromUtf8(FileBytes(path));
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

} // namespace

// Two pairs typed into the input dialogs are saved at once; the tick checks both on the three engines when
// they are due and not before; a page that failed gives "No Data" with its error shown, a page without ads
// but with results "Not shown", a block page "No Data". The next day's check joins the history: the date
// selector marks both days, and picking the first shows its positions again. Delete removes a pair.
TEST(BidWatchtower, PairsAreCheckedOnScheduleWithADatedHistory) {
    const QDateTime start(QDate(2026, 3, 10), QTime(9, 0));
    kind5test::SteppedClock clock(start);
    QTemporaryDir root;
    Engines engines;
    engines.Serve(0, u"google_shoes.html"_s);
    engines.Serve(1, u"bing_shoes.html"_s);
    engines.Serve(1, u"hiking boots"_s,
                  twtest::HttpReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n<html>"));
    engines.Serve(2, u"yahoo_shoes.html"_s);
    engines.Serve(2, u"hiking boots"_s, Engines::Page(u"yahoo_boots.html"_s));

    Program program(root);
    CProject5& project = program.OpenMonitor();
    EXPECT_TRUE(program.dlg.m_minimizeToTray);
    const QString list = CProject5::ListPath();
    EXPECT_FALSE(QFile::exists(list)) << "nothing changed yet";

    TypePair(program.script, u"running shoes"_s, u"WWW.ShoeShop.com "_s);
    apptest::ClickElement(program.dlg, project.m_btnAdd);
    TypePair(program.script, u"hiking boots\r\nRunning Shoes"_s, u"http://bootbarn.net\r\nshoeshop.com"_s);
    program.dlg.OnCommand(CProject5::kAddCommand, 0);
    EXPECT_TRUE(program.script.Done());
    ASSERT_EQ(project.m_list.m_entries.size(), 4u) << "each keyword with each site, the known pair once";
    EXPECT_EQ(project.m_list.m_entries[1].m_site, u"bootbarn.net"_s);
    EXPECT_EQ(FileBytes(list), FileBytes(DataFile(u"list_added.zxml"_s)));

    // Two pairs too many: Delete over the report takes the selected ones away.
    project.m_rep.SelectRange(2, 3);
    project.m_rep.OnKeyDown(46);
    ASSERT_EQ(project.m_list.m_entries.size(), 2u);
    EXPECT_EQ(project.m_list.m_entries[1].m_keyword, u"hiking boots"_s);

    ASSERT_TRUE(program.TickUntil([&] { return HasChecks(project, 1); }));
    EXPECT_EQ(Shown(project, 0), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(Shown(project, 1), (std::vector<int>{3, CProject5_Check::kNoData, 1}));
    EXPECT_EQ(project.m_bar.ErrorText(), u"Bing: Receive error: the reply ended after 6 of 5,000 bytes"_s);
    EXPECT_EQ(project.m_bar.Done(), 6);
    EXPECT_EQ(project.m_bar.Total(), 6);
    EXPECT_TRUE(project.m_hasResults);
    EXPECT_EQ(engines.RequestCount(), 6);
    program.TickUntil([] { return false; }, 1000);
    EXPECT_EQ(engines.RequestCount(), 6) << "nothing is due before the interval has passed";

    clock.Advance(24 * 3600);
    engines.Serve(0, u"blocked.html"_s);
    engines.Serve(1, u"hiking boots"_s, Engines::Page(u"bing_shoes.html"_s));
    engines.Serve(2, u"hiking boots"_s, Engines::Page(u"yahoo_shoes.html"_s));
    ASSERT_TRUE(program.TickUntil([&] { return HasChecks(project, 2); }));
    EXPECT_EQ(Shown(project, 0), (std::vector<int>{CProject5_Check::kNoData, 1, 0}));
    EXPECT_EQ(Shown(project, 1), (std::vector<int>{CProject5_Check::kNoData, 2, 0}));

    CSkinDateSelect& calendar = project.m_dateSelect;
    EXPECT_EQ(calendar.SelectedDate(), QDate(2026, 3, 11)) << "the calendar follows the checks' clock";
    const QDate first(2026, 3, 10);
    EXPECT_TRUE(Bold(calendar, first));
    EXPECT_TRUE(Bold(calendar, first.addDays(1)));
    EXPECT_FALSE(Bold(calendar, first.addDays(-1)));
    EXPECT_FALSE(Bold(calendar, first.addDays(2)));
    ClickDay(program.dlg, calendar, first);
    EXPECT_EQ(project.m_rep.m_day, first);
    EXPECT_EQ(Shown(project, 0), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(Shown(project, 1), (std::vector<int>{3, CProject5_Check::kNoData, 1}));
    ClickDay(program.dlg, calendar, first.addDays(-1));
    EXPECT_EQ(Shown(project, 0), std::vector<int>{}) << "a day without checks shows none";

    QTemporaryDir out;
    ClickDay(program.dlg, calendar, first);
    EXPECT_EQ(Export(project, out.filePath(u"day.csv"_s)),
              QString::fromUtf8(FileBytes(DataFile(u"export_first_day.csv"_s))));
    ClickDay(program.dlg, calendar, first.addDays(1));
    EXPECT_FALSE(project.m_rep.m_day.isValid()) << "today shows the newest checks";
    EXPECT_EQ(Export(project, out.filePath(u"latest.htm"_s)),
              QString::fromUtf8(FileBytes(DataFile(u"export_latest.htm"_s))));
    EXPECT_EQ(FileBytes(list), FileBytes(DataFile(u"list_two_days.zxml"_s)));
    EXPECT_EQ(program.script.unscripted, 0);
}
