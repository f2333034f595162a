// Requests that fail (a 503 or 404 status, a reply cut off in the middle, a service that never answers)
// through the real kinds: the failed task keeps its no-data value but its cell reads "Failed" with the error
// as tooltip, the bar counts and lists every failure, a saved project keeps them, a file written without the
// marks opens as before, and where Start goes on it asks the failed tasks again.

#include "net/crawler.h"
#include "net/downloader.h"
#include "net/whois_directory.h"
#include "projects/common/failed_tasks.h"
#include "projects/kind1/project1.h"
#include "projects/kind2/project2.h"
#include "projects/kind3/project3.h"
#include "projects/kind4/project4.h"
#include "projects/kind8/project8.h"
#include "skin/input_dlg.h"
#include "tests/projects/kind_test.h"
#include "tests/support/qstring_printer.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/whois_server.h"

#include <QFile>
#include <QRegularExpression>
#include <gmock/gmock.h>

using namespace Qt::StringLiterals;
using projtest::FixtureServer;
using projtest::ShownCells;
using testing::ElementsAre;
using testing::UnorderedElementsAre;
using twtest::HttpReply;

namespace {

const QString kFailed = CFailedTasks::kCellText;

HttpReply Status(int status, const std::string& reason) {
    HttpReply reply = HttpReply::Page("<html><body>" + reason + "</body></html>");
    reply.status = status;
    reply.reason = reason;
    return reply;
}

// Announces more than it sends, then closes the connection.
HttpReply CutMidReply() {
    return HttpReply::Raw("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 4000\r\n"
                          "Connection: close\r\n\r\n<html><body><div id=\"res\"><ol><li class=\"g\">");
}

HttpReply Silent() {
    return HttpReply::With(HttpReply::Delivery::Stall);
}

MATCHER_P(HasPrefix, prefix, "") {
    return arg.startsWith(prefix);
}

class FailedRequests : public projtest::KindTest {
  protected:
    void SetUp() override {
        KindTest::SetUp();
        // The pool is made on the first tick; a silent service then times out quickly.
        Tick(1);
        for (const std::unique_ptr<CDownloader>& downloader : g_pCrawler->GetDownloaders())
            downloader->SetTimeouts(2000, 300);
        m_server.Serve(Endpoint::GoogleKeywordTool, "/select/KeywordToolCaptcha", {},
                       HttpReply::Page("\xFF\xD8picture\xFF\xD9", "image/jpeg"));
    }

    // The cell of a grid's visible row in the column at index.
    static CSkinListBox_Item Cell(CSkinListBox& grid, int row, int column) {
        grid.UpdateItemCount();
        CSkinListBox_Line line;
        grid.InitLine(row, 0, 0, line);
        grid.GetItemText(line);
        for (const CSkinListBox_Item& cell : line.cells)
            if (cell.firstColumn == column)
                return cell;
        return {};
    }

    // The saved project file without the failed marks and the list of failures, as a program that did not
    // know them wrote it; opened, the project of the new tab.
    CProject* OpenWithoutMarks(const QString& saved, const QString& older) {
        QFile in(PathOf(saved));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(in.readAll());
        const qsizetype before = text.size();
        text.remove(QRegularExpression(u"\r\n *<m_failed>[\\s\\S]*?</m_failed>"_s));
        text.remove(QRegularExpression(u"\r\n *<m_failures>[\\s\\S]*?</m_failures>"_s));
        EXPECT_LT(text.size(), before) << "the saved file holds no marks";
        QFile out(PathOf(older));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(text.toUtf8()) > 0);
        out.close();
        return OpenFile(older);
    }
};

// Kind 2: the keyword tool answers, every other service fails its own way. Each failed cell reads "Failed"
// with the error, the export writes it, the bar counts and lists the four, and the saved project keeps them.
// A second Start asks only the failed tasks, without a question, and fills every cell.
TEST_F(FailedRequests, NicheLanternMarksListsKeepsAndAsksAgain) {
    const std::string intentPath = "/Online-Commercial-Intention/Default.aspx";
    m_server.ServeFile(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {}, u"kind2/tool_reply.js"_s);
    m_server.Serve(Endpoint::GoogleWeb, "/search", {"q=red shoes"}, Status(503, "Service Unavailable"));
    m_server.Serve(Endpoint::YahooWeb, "/search", {"p=red shoes"}, CutMidReply());
    m_server.Serve(Endpoint::BingAdLab, intentPath, {"txtQuery=red shoes"}, Silent());
    auto* project = dynamic_cast<CProject2*>(NewProject(2, u"red shoes;"_s));
    ASSERT_NE(project, nullptr);
    Tick(1);
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));

    const CProjectBar& bar = project->Page().m_bar;
    EXPECT_EQ(bar.Progress().m_format, u"5 of 5 requests, 4 failed"_s);
    EXPECT_THAT(bar.Failures(),
                UnorderedElementsAre(u"Google (red shoes): HTTP error 503 Service Unavailable"_s,
                                     u"Bing (red shoes): HTTP error 404 Not Found"_s,
                                     HasPrefix(u"Yahoo (red shoes): Receive error: the reply ended after"_s),
                                     HasPrefix(u"Commercial intention (red shoes): Receive error"_s)));
    EXPECT_EQ(bar.ErrorText(), bar.Failures().back()) << "the latest failure on the error line";
    for (const QString& failure : bar.Failures())
        EXPECT_TRUE(bar.ErrorTooltip().contains(failure)) << failure.toStdString();
    const QStringList row = {u"red shoes"_s, u"12,100"_s, u"1.25"_s};
    EXPECT_EQ(ShownCells(project->KeywordReport()), std::vector<QStringList>{row + QStringList(7, kFailed)});
    const CSkinListBox_Item google = Cell(project->KeywordReport(), 0, CProject2_Rep1::kGoogleResults);
    EXPECT_EQ(google.tooltip, u"Google (red shoes): HTTP error 503 Service Unavailable"_s);
    EXPECT_NE(google.color, CSkinListBox_Item::kLineColor) << "set apart by its colour";
    EXPECT_EQ(project->Records()[0].Engine(Project2Engine::Google).results, task_value::kNoData)
        << "sorted and filtered as no data";
    EXPECT_EQ(ExportCurrent(u"failed.csv"_s).count("Failed"), 7);
    // A click on the error line opens the whole list.
    QString listed;
    Window().script.Then(skintest::ModalScript::On<CInputDlg>([&](CInputDlg& list) {
        listed = list.m_edit.GetText();
        list.OnCommand(u"on_cancel"_s, 0);
    }));
    Window().dlg.OnCommand(u"prj2_failures"_s, 0);
    EXPECT_TRUE(Window().script.Done());
    EXPECT_EQ(listed, bar.Failures().join(u"\r\n"_s));

    const int tool = m_server.CountRequests(Endpoint::GoogleKeywordTool);
    const QStringList failures = bar.Failures();
    auto* reopened = dynamic_cast<CProject2*>(ExpectReopensAsShown(u"failed.twpx"_s));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->Page().m_bar.Failures(), failures);
    EXPECT_EQ(Cell(reopened->KeywordReport(), 0, CProject2_Rep1::kGoogleResults).tooltip, google.tooltip);

    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"q=red shoes"}, u"kind2/google_red.html"_s);
    m_server.ServeFile(Endpoint::BingWeb, "/search", {"q=red shoes"}, u"kind2/bing_red.html"_s);
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=red shoes"}, u"kind2/yahoo_red.html"_s);
    std::string intent = FixtureServer::ReadDataFile(u"kind2/intent.html"_s);
    intent.replace(intent.find("%QUERY%"), 7, "red shoes");
    intent.replace(intent.find("%VALUE%"), 7, "0.37");
    m_server.Serve(Endpoint::BingAdLab, intentPath, {"txtQuery=red shoes"}, HttpReply::Page(intent));
    const size_t messages = Window().script.messages.size();
    Window().dlg.OnCommand(u"prj2_start"_s, 0);
    EXPECT_EQ(Window().script.messages.size(), messages) << "no question before the failed are asked again";
    ASSERT_TRUE(TickUntil([&] { return !reopened->IsRunning(); }));
    const QStringList answered{u"1,230,000"_s, u"3"_s, u"987,000"_s, u"1"_s, u"2,100,000"_s, u"2"_s, u"37"_s};
    EXPECT_EQ(ShownCells(reopened->KeywordReport()), std::vector<QStringList>{row + answered});
    EXPECT_EQ(reopened->Page().m_bar.Progress().m_format, u"4 of 4 requests"_s);
    EXPECT_TRUE(reopened->Page().m_bar.Failures().isEmpty());
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleKeywordTool), tool) << "the answered tool is not asked";

    // A file from before the marks: the failed cells read as they did then.
    auto* older = dynamic_cast<CProject2*>(OpenWithoutMarks(u"failed.twpx"_s, u"older.twpx"_s));
    ASSERT_NE(older, nullptr);
    EXPECT_EQ(ShownCells(older->KeywordReport()),
              std::vector<QStringList>{row + QStringList(7, CKindReport::kNoData)});
    EXPECT_EQ(older->Page().m_bar.Progress().m_format, u"5 of 5 requests"_s);
}

// Kind 4: the three searches fail; their cells read "Failed" and take no sites. Saved and reopened they stay
// failed; a second Start asks them again, fills them and goes on with the sites they bring, whose own
// services fail in turn and are marked on the site rows.
TEST_F(FailedRequests, RankSummitMarksKeepsAndAsksAgain) {
    twtest::WhoisServer whois;
    whois_directory::SetRows({{u"example"_s, u"No match for"_s, u"whois.fixture.test"_s}});
    whois_directory::MapServer(u"whois.fixture.test"_s, QString::fromStdString(whois.Host()), whois.Port());
    m_server.Serve(
        Endpoint::GoogleKeywordTool, "/select/VariationsTool", {},
        HttpReply::Page(FixtureServer::ReadDataFile(u"kind4/keyword_tool.js"_s), "text/javascript"));
    m_server.Serve(Endpoint::GoogleWeb, "/search", {"blue widgets"}, Status(503, "Service Unavailable"));
    m_server.Serve(Endpoint::YahooWeb, "/search", {"blue widgets"}, CutMidReply());
    auto* project = dynamic_cast<CProject4*>(NewProject(4, u"blue widgets;"_s));
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !project->Bar().IsRunning() && project->Bar().Total() > 0; }));

    EXPECT_EQ(project->Bar().Progress().m_format, u"4 of 4 requests, 3 failed"_s);
    EXPECT_THAT(
        project->Bar().Failures(),
        UnorderedElementsAre(u"Google (blue widgets): HTTP error 503 Service Unavailable"_s,
                             u"Bing (blue widgets): HTTP error 404 Not Found"_s,
                             HasPrefix(u"Yahoo (blue widgets): Receive error: the reply ended after"_s)));
    const std::vector<QStringList> rows = ShownCells(project->KeywordReport());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_THAT(rows[0].mid(2), ElementsAre(kFailed, kFailed, kFailed));
    EXPECT_NE(rows[0][1], kFailed);
    EXPECT_TRUE(project->Data().Sites().empty());

    auto* reopened = dynamic_cast<CProject4*>(ExpectReopensAsShown(u"failed4.twpx"_s));
    ASSERT_NE(reopened, nullptr);
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"blue widgets"}, u"kind4/google_blue_widgets.html"_s);
    m_server.ServeFile(Endpoint::BingWeb, "/search", {"blue widgets"}, u"kind4/bing_blue_widgets.html"_s);
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {"blue widgets"}, u"kind4/yahoo_blue_widgets.html"_s);
    Window().dlg.OnCommand(u"prj4_start"_s, 0);
    ASSERT_TRUE(TickUntil([&] { return !reopened->Bar().IsRunning(); }));
    const std::vector<QStringList> filled = ShownCells(reopened->KeywordReport());
    ASSERT_EQ(filled.size(), 1u);
    for (const QString& cell : filled[0].mid(2))
        EXPECT_TRUE(cell != kFailed && cell != CKindReport::kNoData && !cell.isEmpty()) << cell.toStdString();
    ASSERT_FALSE(reopened->Data().Sites().empty());
    // The site services have no page: each site's rank cells read "Failed", and every failure is listed.
    const CProject4_Site& site = reopened->Data().Sites()[0];
    EXPECT_TRUE(site.failed.IsFailed(static_cast<int>(Project4Request::PageRank)));
    EXPECT_EQ(site.pageRank, task_value::kNoData);
    const int sites = int(reopened->Data().Sites().size());
    EXPECT_EQ(reopened->Bar().Failures().size(), 3 * sites) << "page rank, inlinks and traffic rank of each";
    EXPECT_EQ(reopened->Bar().Progress().m_format,
              u"%1 of %1 requests, %2 failed"_s.arg(4 + 4 * sites).arg(3 * sites));
    whois_directory::ResetToDefaults();
}

// Kinds 1, 3 and 8, whose answers add rows: every failure shows on the bar only, counted and listed; their
// Start stays a new run, so the list starts anew rather than growing.
TEST_F(FailedRequests, KindsThatAddRowsShowFailuresOnTheBarOnly) {
    m_server.Serve(Endpoint::GoogleWeb, "/search", {}, Status(503, "Service Unavailable"));
    m_server.Serve(Endpoint::YahooWeb, "/search", {}, CutMidReply());
    m_server.Serve(Endpoint::AskWeb, "/web", {}, Status(503, "Service Unavailable"));

    auto* chronicle = dynamic_cast<CProject3*>(NewProject(3, u"blue widgets;"_s));
    ASSERT_NE(chronicle, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !chronicle->IsRunning(); }));
    EXPECT_EQ(chronicle->m_page.m_bar.Progress().m_format, u"9 of 9 requests, 9 failed"_s);
    EXPECT_EQ(chronicle->m_page.m_bar.Failures().size(), 9);
    EXPECT_EQ(chronicle->m_page.m_bar.Failures().count(u"Bing (blue widgets): HTTP error 404 Not Found"_s),
              3);
    EXPECT_EQ(chronicle->m_rep1.VisibleCount(), 0);
    Window().dlg.OnCommand(u"prj3_start"_s, 0);
    ASSERT_TRUE(TickUntil([&] { return !chronicle->IsRunning(); }));
    EXPECT_EQ(chronicle->m_page.m_bar.Progress().m_format, u"9 of 9 requests, 9 failed"_s);
    ASSERT_NE(ExpectReopensAsShown(u"failed3.twpx"_s), nullptr);

    auto* offers = dynamic_cast<CProject8*>(NewProject(8, u"widgets;"_s));
    ASSERT_NE(offers, nullptr);
    ASSERT_TRUE(TickUntil([&] { return offers->SearchStep() == CProject8::kSearchDone; }));
    EXPECT_EQ(offers->m_page.m_bar.Progress().m_format, u"6 of 6 requests, 6 failed"_s);
    EXPECT_THAT(offers->m_page.m_bar.Failures(),
                testing::Contains(u"Google (widgets CPA offer): HTTP error 503 Service Unavailable"_s));

    auto* lexicon = dynamic_cast<CProject1*>(NewProject(1, u"blue widgets;"_s));
    ASSERT_NE(lexicon, nullptr);
    Tick(1);
    ASSERT_TRUE(TickUntil([&] { return lexicon->State() == CKindRun::State::Done; }));
    EXPECT_EQ(lexicon->Bar().Progress().m_format, u"3 of 3 requests, 3 failed"_s);
    EXPECT_THAT(lexicon->Bar().Failures(),
                testing::Contains(u"Ask (blue widgets): HTTP error 503 Service Unavailable"_s));
    EXPECT_TRUE(lexicon->Keywords().empty());
}

} // namespace
