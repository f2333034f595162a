#include "net/whois_directory.h"
#include "projects/kind4/project4.h"
#include "tests/projects/kind_test.h"
#include "tests/support/qstring_printer.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/whois_server.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

using Rows = std::vector<QStringList>;

// What a site service answers for one fixture site; an empty text gives a page without the value.
struct SiteReplies {
    std::string site;
    std::string pageRank;
    std::string inlinks;
    std::string traffic;
    std::string whois; // empty: the default "not registered" reply
};

const SiteReplies kSites[] = {
    {"www.alpha.example", "Rank_1:1:5", "Inlinks (12,345)", "1,234", "Creation Date: 2001-04-15\r\n"},
    {"beta.example", "Rank_1:1:3", "Inlinks (880)", "45,678", "created: 15-mar-2005\r\n"},
    {"gamma.example", "", "Inlinks (77)", "", ""},
    {"delta.example", "Rank_1:1:0", "", "999,999", "Record created on 1999-12-31.\r\n"},
    {"epsilon.example", "Rank_1:1:2", "Inlinks (10)", "100", "creation date: 1998-02-03\r\n"},
    {"zeta.example", "Rank_1:1:1", "Inlinks (20)", "200", "Created On: 01.07.10\r\n"},
};

using projtest::ShownCells;

class Project4Run : public projtest::KindTest {
  protected:
    void SetUp() override {
        KindTest::SetUp();
        whois_directory::SetRows({{u"example"_s, u"No match for"_s, u"whois.fixture.test"_s}});
        whois_directory::MapServer(u"whois.fixture.test"_s, QString::fromStdString(m_whois.Host()),
                                   m_whois.Port());
        using projtest::FixtureServer;
        m_server.Serve(Endpoint::GoogleKeywordTool, "/select/KeywordToolCaptcha", {},
                       twtest::HttpReply::Page("picture", "image/jpeg"));
        m_server.Serve(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {},
                       twtest::HttpReply::Page(FixtureServer::ReadDataFile(u"kind4/keyword_tool.js"_s),
                                               "text/javascript"));
        const struct {
            Endpoint endpoint;
            const char* engine;
        } engines[] = {
            {Endpoint::GoogleWeb, "google"}, {Endpoint::BingWeb, "bing"}, {Endpoint::YahooWeb, "yahoo"}};
        for (const auto& e : engines) {
            for (const char* keyword : {"blue widgets", "red gadgets"}) {
                QString file =
                    u"kind4/%1_%2.html"_s.arg(QString::fromLatin1(e.engine), QString::fromLatin1(keyword));
                file.replace(u' ', u'_');
                if (QFile::exists(QStringLiteral(TW_PROJECTS_TEST_DATA_DIR "/") + file))
                    m_server.ServeFile(e.endpoint, "/search", {keyword}, file);
            }
        }
        // The last engine page of the second keyword is cut off: a service failing in the middle of a run.
        m_server.Serve(Endpoint::YahooWeb, "/search", {"red gadgets"},
                       twtest::HttpReply::With(twtest::HttpReply::Delivery::CloseAtOnce));
        for (const SiteReplies& site : kSites) {
            const std::string page = "<html><body><div id=\"main\"><span class=\"btn\">" + site.inlinks +
                                     "</span></div></body></html>";
            m_server.Serve(Endpoint::GoogleToolbar, "/search", {"info:http://" + site.site + "/"},
                           twtest::HttpReply::Page(site.pageRank, "text/plain"));
            m_server.Serve(Endpoint::YahooSiteExplorer, "/search", {site.site},
                           site.inlinks.empty()
                               ? twtest::HttpReply::With(twtest::HttpReply::Delivery::CloseAtOnce)
                               : twtest::HttpReply::Page(page));
            const std::string host = site.site.starts_with("www.") ? site.site.substr(4) : site.site;
            m_server.Serve(Endpoint::AlexaData, "/data", {host},
                           twtest::HttpReply::Page("<ALEXA><SD><POPULARITY URL=\"" + host + "/\" TEXT=\"" +
                                                       site.traffic + "\"/></SD></ALEXA>",
                                                   "text/xml"));
            if (!site.whois.empty())
                m_whois.SetReply(host, "Domain Name: " + host + "\r\n\r\n" + site.whois);
        }
    }
    void TearDown() override {
        KindTest::TearDown();
        whois_directory::ResetToDefaults();
    }

    CProject4* RunToEnd() {
        auto* project = dynamic_cast<CProject4*>(NewProject(4, u"blue widgets;red gadgets;"_s));
        EXPECT_NE(project, nullptr);
        if (!project)
            return nullptr;
        EXPECT_TRUE(project->Bar().IsRunning());
        EXPECT_TRUE(TickUntil([&] { return !project->Bar().IsRunning(); }));
        return project;
    }

    // The sites report of a keyword on an engine, picked as the user does: the keyword row, then the tab.
    Rows SitesOf(CProject4& project, int keyword, int engine) {
        CProject4_Rep1& keywords = project.KeywordReport();
        keywords.UpdateItemCount();
        const auto row = std::ranges::find(keywords.Order(), keyword) - keywords.Order().begin();
        ClickCell(keywords, static_cast<int>(row), CProject4_Rep1::kKeyword);
        skintest::ClickElement(Window().dlg, project.EngineTab(engine));
        EXPECT_EQ(project.Engine(), engine);
        return ShownCells(project.SiteReport());
    }

    twtest::WhoisServer m_whois;
};

TEST_F(Project4Run, WizardToReportsSaveOpenAndExport) {
    CProject4* project = RunToEnd();
    ASSERT_NE(project, nullptr);

    // The engine tabs switch the second report; a site met again shows what was asked the first time.
    EXPECT_EQ(SitesOf(*project, 0, kProject4Bing),
              (Rows{{u"1"_s, u"Alpha Other Widgets"_s, u"http://www.alpha.example/other"_s, u"5"_s,
                     u"12,345"_s, u"1,234"_s, u"2001-04-15"_s},
                    {u"2"_s, u"Delta Widget Shop"_s, u"http://delta.example/"_s, u"0"_s, u"Failed"_s,
                     u"999,999"_s, u"1999-12-31"_s}}));
    EXPECT_EQ(SitesOf(*project, 0, kProject4Yahoo),
              (Rows{{u"1"_s, u"Beta Blue at Yahoo"_s, u"http://beta.example/blue"_s, u"3"_s, u"880"_s,
                     u"45,678"_s, u"2005-03-15"_s},
                    {u"2"_s, u"Zeta Widgets"_s, u"http://zeta.example/widgets"_s, u"1"_s, u"20"_s, u"200"_s,
                     u"2010-07-01"_s}}));
    EXPECT_EQ(SitesOf(*project, 1, kProject4Yahoo), Rows{});
    const Rows redOnGoogle = SitesOf(*project, 1, kProject4Google);
    ASSERT_EQ(redOnGoogle.size(), 2u);
    EXPECT_EQ(redOnGoogle[1], (QStringList{u"2"_s, u"Epsilon Gadgets"_s, u"http://epsilon.example/gadgets"_s,
                                           u"2"_s, u"10"_s, u"100"_s, u"1998-02-03"_s}));

    // Six sites in all, each asked once of every site service however many lists name it.
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleToolbar), 6);
    EXPECT_EQ(m_server.CountRequests(Endpoint::YahooSiteExplorer), 6);
    EXPECT_EQ(m_server.CountRequests(Endpoint::AlexaData), 6);
    EXPECT_EQ(m_whois.Queries().size(), 6u);
    EXPECT_EQ(m_pictureAsks, 1);
    EXPECT_EQ(project->Bar().Done(), project->Bar().Total());
    EXPECT_EQ(project->Bar().Total(), 1 + 3 * 2 + 4 * 6);
    // The cut-off exchanges were reported and the run went on past them.
    EXPECT_FALSE(project->Bar().ErrorText().isEmpty());
    EXPECT_TRUE(project->m_hasResults);

    // Sorted either way, rows without data stay last; the two whois date orders sort as dates.
    const auto column = [](const Rows& rows, int index) {
        QStringList cells;
        for (const QStringList& row : rows)
            cells << row.value(index);
        return cells;
    };
    auto sorted = [&](CSkinListBox& grid, int sortColumn, int direction, int index) {
        grid.m_sortColumn = sortColumn;
        grid.m_sortDirection = direction;
        grid.InvalidateContent();
        return column(ShownCells(grid), index);
    };
    CProject4_Rep1& keywordReport = project->KeywordReport();
    EXPECT_EQ(sorted(keywordReport, CProject4_Rep1::kGoogle, 0, 0),
              (QStringList{u"blue widgets"_s, u"red gadgets"_s}));
    EXPECT_EQ(sorted(keywordReport, CProject4_Rep1::kGoogle, 1, 0),
              (QStringList{u"blue widgets"_s, u"red gadgets"_s}));
    EXPECT_EQ(sorted(keywordReport, CProject4_Rep1::kKeyword, 1, 0),
              (QStringList{u"red gadgets"_s, u"blue widgets"_s}));
    SitesOf(*project, 0, kProject4Google);
    CProject4_Rep2& siteReport = project->SiteReport();
    EXPECT_EQ(sorted(siteReport, CProject4_Rep2::kCreated, 0, 0), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    EXPECT_EQ(sorted(siteReport, CProject4_Rep2::kCreated, 1, 0), (QStringList{u"2"_s, u"1"_s, u"3"_s}));
    SitesOf(*project, 1, kProject4Google);
    EXPECT_EQ(sorted(siteReport, CProject4_Rep2::kCreated, 1, 1),
              (QStringList{u"Epsilon Gadgets"_s, u"Gamma Red Gadgets"_s}));
    // Back to the order of the page and of the keywords, as a reopened project shows them.
    sorted(keywordReport, CProject4_Rep1::kKeyword, 0, 0);
    sorted(siteReport, CProject4_Rep2::kPosition, 0, 0);

    // Blue widgets on Google is selected for the export, as the user left it.
    SitesOf(*project, 0, kProject4Google);
    ExpectSameAsDataFile(ExportCurrent(u"rank.csv"_s), u"kind4/expected_export.csv"_s);
    ExpectSameAsDataFile(ExportCurrent(u"rank.htm"_s), u"kind4/expected_export.htm"_s);

    const Rows keywords = ShownCells(project->KeywordReport());
    const Rows yahooSites = SitesOf(*project, 0, kProject4Yahoo);
    const int requests = static_cast<int>(m_server.Requests().size());
    auto* reopened = dynamic_cast<CProject4*>(ExpectReopensAsShown(u"rank.twpx"_s));
    ASSERT_NE(reopened, nullptr);
    Tick(10);
    EXPECT_FALSE(reopened->Bar().IsRunning());
    EXPECT_EQ(static_cast<int>(m_server.Requests().size()), requests);
    EXPECT_EQ(reopened->Engine(), kProject4Yahoo);
    EXPECT_EQ(ShownCells(reopened->KeywordReport()), keywords);
    EXPECT_EQ(SitesOf(*reopened, 0, kProject4Yahoo), yahooSites);
    EXPECT_EQ(reopened->Bar().Done(), reopened->Bar().Total());
}

// The filters set through the header's filter buttons hide the rows outside them in both reports; switched
// off, every row comes back.
TEST_F(Project4Run, ColumnFiltersHideRows) {
    CProject4* project = RunToEnd();
    ASSERT_NE(project, nullptr);
    const auto setRange = [](const QString& min, const QString& max, bool on) {
        return [=](CSkinListBox_FilterDlg& dlg) {
            dlg.m_enableCheck.m_checked = on;
            dlg.m_edit1.SetText(min);
            dlg.m_edit2.SetText(max);
            skintest::ClickElement(dlg, dlg.m_ok);
        };
    };
    const auto firstCells = [](const Rows& rows) {
        QStringList cells;
        for (const QStringList& row : rows)
            cells << row.value(0);
        return cells;
    };
    SitesOf(*project, 0, kProject4Google);
    CProject4_Rep2& sites = project->SiteReport();
    FilterColumn(sites, CProject4_Rep2::kPageRank, setRange(u"4"_s, u"10"_s, true));
    EXPECT_EQ(firstCells(ShownCells(sites)), QStringList{u"1"_s});
    FilterColumn(sites, CProject4_Rep2::kPageRank, setRange(u"4"_s, u"10"_s, false));
    EXPECT_EQ(firstCells(ShownCells(sites)), (QStringList{u"1"_s, u"2"_s, u"3"_s}));

    // A text filter's two fields are labelled: which one keeps rows and which one hides them.
    FilterColumn(sites, CProject4_Rep2::kTitle, [](CSkinListBox_FilterDlg& dlg) {
        EXPECT_FALSE(dlg.m_labels[0].GetText().isEmpty());
        EXPECT_FALSE(dlg.m_labels[1].GetText().isEmpty());
        dlg.m_enableCheck.m_checked = true;
        dlg.m_edit2.SetText(u"gamma"_s);
        skintest::ClickElement(dlg, dlg.m_ok);
    });
    EXPECT_EQ(firstCells(ShownCells(sites)), (QStringList{u"1"_s, u"2"_s}));
    // Addresses are filtered by the words in them: a part of the host name is enough.
    FilterColumn(sites, CProject4_Rep2::kUrl, [](CSkinListBox_FilterDlg& dlg) {
        dlg.m_enableCheck.m_checked = true;
        dlg.m_edit1.SetText(u"beta"_s);
        skintest::ClickElement(dlg, dlg.m_ok);
    });
    EXPECT_EQ(firstCells(ShownCells(sites)), QStringList{u"2"_s});

    CProject4_Rep1& keywords = project->KeywordReport();
    FilterColumn(keywords, CProject4_Rep1::kGoogle, setRange(u"1000000"_s, u"2000000"_s, true));
    EXPECT_EQ(firstCells(ShownCells(keywords)), QStringList{u"blue widgets"_s});
}

TEST_F(Project4Run, ServiceThatGoesDownMidRunGivesNoDataAndTheRunEnds) {
    auto* project = dynamic_cast<CProject4*>(NewProject(4, u"blue widgets;red gadgets;"_s));
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return project->Data().Keywords()[0].results[kProject4Bing] != -1.0; }));
    m_server.Fail(Endpoint::BingWeb);
    ASSERT_TRUE(TickUntil([&] { return !project->Bar().IsRunning(); }));

    const auto& keywords = project->Data().Keywords();
    EXPECT_EQ(keywords[0].results[kProject4Bing], 2450000.0);
    EXPECT_EQ(keywords[1].results[kProject4Bing], task_value::kNoData);
    EXPECT_EQ(keywords[1].results[kProject4Google], task_value::kNoData); // its page has no count line
    EXPECT_EQ(keywords[0].results[kProject4Google], 1230000.0);
    EXPECT_FALSE(project->Bar().ErrorText().isEmpty());
    EXPECT_EQ(m_server.CountRequests(Endpoint::BingWeb), 2);
}

TEST_F(Project4Run, StopReleasesEverySlotAndStartGoesOnWhereItStood) {
    auto* project = dynamic_cast<CProject4*>(NewProject(4, u"blue widgets;red gadgets;"_s));
    ASSERT_NE(project, nullptr);
    Tick(1);
    ASSERT_GT(g_pCrawler->CountJobDownloaders(project->m_id), 0);
    Window().dlg.OnCommand(u"prj4_stop"_s, 0);
    EXPECT_FALSE(project->Bar().IsRunning());
    // A running download is dropped by its worker, which then gives the slot up.
    EXPECT_TRUE(TickUntil([&] { return g_pCrawler->CountJobDownloaders(project->m_id) == 0; }));
    Tick(5);
    EXPECT_EQ(g_pCrawler->CountJobDownloaders(project->m_id), 0); // a stopped run takes no new slot

    Window().dlg.OnCommand(u"prj4_start"_s, 0);
    ASSERT_TRUE(TickUntil([&] { return !project->Bar().IsRunning(); }));
    EXPECT_EQ(project->Bar().Done(), project->Bar().Total());
    EXPECT_EQ(project->Data().Keywords()[0].results[kProject4Google], 1230000.0);
}

} // namespace
