#include "app/main_window_size.h"
#include "app/project_file.h"
#include "app/skin_ad_display_dlg.h"
#include "net/crawler.h"
#include "net/saved_file.h"
#include "projects/kind2/project2.h"
#include "tests/projects/kind_test.h"
#include "tests/support/qstring_printer.h"
#include "tests/support/skin_test_support.h"

#include <gmock/gmock.h>

using namespace Qt::StringLiterals;
using projtest::FixtureServer;
using twtest::HttpReply;

namespace {

class NicheLantern : public projtest::KindTest {
  protected:
    void SetUp() override {
        KindTest::SetUp();
        const auto page = [](const char* name) { return u"kind2/"_s + QLatin1StringView(name); };
        m_server.Serve(Endpoint::GoogleKeywordTool, "/select/KeywordToolCaptcha", {},
                       HttpReply::Page("\xFF\xD8picture\xFF\xD9", "image/jpeg"));
        m_server.ServeFile(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {"captchaAnswer=x7k2p"},
                           page("tool_reply.js"));
        m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"q=red shoes"}, page("google_red.html"));
        m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"q=blue shoes"}, page("google_blue.html"));
        m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"q=green shoes"}, page("google_green.html"));
        // Bing has no page for blue shoes: it answers 404, a failed request.
        m_server.ServeFile(Endpoint::BingWeb, "/search", {"q=red shoes"}, page("bing_red.html"));
        m_server.ServeFile(Endpoint::BingWeb, "/search", {"q=green shoes"}, page("bing_green.html"));
        m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=red shoes"}, page("yahoo_red.html"));
        m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=blue shoes"}, page("yahoo_blue.html"));
        // Yahoo fails in the middle of the run.
        m_server.Serve(Endpoint::YahooWeb, "/search", {"p=green shoes"},
                       HttpReply::With(HttpReply::Delivery::CloseAtOnce));
        const std::string intent = FixtureServer::ReadDataFile(page("intent.html"));
        const auto intentPage = [&](const std::string& query, const std::string& value) {
            std::string text = intent;
            text.replace(text.find("%QUERY%"), 7, query);
            text.replace(text.find("%VALUE%"), 7, value);
            return HttpReply::Page(text);
        };
        const std::string intentPath = "/Online-Commercial-Intention/Default.aspx";
        m_server.Serve(Endpoint::BingAdLab, intentPath, {"txtQuery=red shoes"},
                       intentPage("red shoes", "0.37"));
        m_server.Serve(Endpoint::BingAdLab, intentPath, {"txtQuery=blue shoes"},
                       intentPage("blue shoes", "0.91"));
        // For green shoes the page keeps showing another query: asked three times, then no data.
        m_server.Serve(Endpoint::BingAdLab, intentPath, {"txtQuery=green shoes"},
                       intentPage("old query", "0.5"));
    }

    CProject2* NewKind2(const QString& keywords) { return dynamic_cast<CProject2*>(NewProject(2, keywords)); }
};

// The saved bytes of a project as they were when each record was a tree of nodes.
QByteArray BytesWithRecordsAsNodes(CProject2& project, const std::vector<CProject2_Keyword>& records) {
    CDownloader_HTMLTags tree = ProjectFileTree(project);
    CDownloader_HTMLTags* list = tree.FindChild(u"Project2")->FindChild(u"m_records");
    list->GetChildren().clear();
    for (const CProject2_Keyword& record : records)
        record.WriteXml(*list->AddChild(u"record"_s, false));
    return SavedFileBytes(tree);
}

// Bing failed for blue shoes and Yahoo for green shoes; the tool and the intention had no data to give.
const QString kKeywordRows = u"blue shoes\tNo Data\tNo Data\t45,600\t0\tFailed\tFailed\t51,000\t0\t91\r\n"
                             u"green shoes\t590\t0.45\t800\t1\t1,200\t0\tFailed\tFailed\tNo Data\r\n"
                             u"red shoes\t12,100\t1.25\t1,230,000\t3\t987,000\t1\t2,100,000\t2\t37\r\n"_s;

} // namespace

// Wizard to report to file and back: three keywords through every service (one failing mid-run), the ads
// of the selected keyword with the preview of a clicked ad, both reports exported, and a saved project that
// reopens with the same rows and asks for nothing.
TEST_F(NicheLantern, ThreeKeywordsFromWizardToReportsFilesAndBack) {
    CProject2* project = NewKind2(u"red shoes;blue shoes;green shoes;"_s);
    ASSERT_NE(project, nullptr);
    Tick(1);
    EXPECT_TRUE(project->IsRunning()) << "a project from the wizard starts at once";
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));

    EXPECT_EQ(m_pictureAsks, 1);
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleKeywordTool), 2) << "one picture, one request";
    EXPECT_EQ(m_server.CountRequests(Endpoint::BingAdLab), 5) << "green shoes asked three times";
    // The last failure shown, whichever lane came to its failing keyword last.
    EXPECT_THAT(project->Page().m_bar.ErrorText(),
                testing::AnyOf(
                    u"Yahoo (green shoes): Receive error: the server closed the connection without a reply"_s,
                    u"Bing (blue shoes): HTTP error 404 Not Found"_s));
    EXPECT_EQ(project->Page().m_bar.Progress().m_format, u"13 of 13 requests, 2 failed"_s);
    EXPECT_TRUE(project->m_hasResults);
    EXPECT_EQ(g_pCrawler->CountJobDownloaders(project->m_id), 0);

    // Red shoes is the third row; its ads fill the second report, engine by engine.
    ClickCell(project->KeywordReport(), 2, CProject2_Rep1::kKeyword);
    EXPECT_EQ(project->AdsReport().ShownKeyword(), 0);
    const QString ads = project->AdsReport().VisibleRowsText();
    QString previewed;
    Window().script.Then(skintest::ModalScript::On<CSkinAdDisplay_Dlg>([&](CSkinAdDisplay_Dlg& preview) {
        previewed = preview.m_display.m_runs.empty() ? QString() : preview.m_display.m_runs.front().text;
        preview.EndSkinDialog(1);
    }));
    ClickCell(project->AdsReport(), 0, CProject2_Rep2::kTitle);
    EXPECT_EQ(previewed, u"Red Shoes Sale"_s);

    // Records written straight as text give the bytes their nodes gave.
    EXPECT_EQ(SavedFileBytes(ProjectFileTree(*project)),
              BytesWithRecordsAsNodes(*project, project->Records()));

    ExpectSameAsDataFile(ExportCurrent(u"kind2.csv"_s), u"kind2/expected.csv"_s);
    ExpectSameAsDataFile(ExportCurrent(u"kind2.htm"_s), u"kind2/expected.htm"_s);

    const size_t requests = m_server.Requests().size();
    auto* reopened = dynamic_cast<CProject2*>(ExpectReopensAsShown(u"kind2.twpx"_s));
    ASSERT_NE(reopened, nullptr);
    Tick(3);
    EXPECT_FALSE(reopened->IsRunning());
    EXPECT_EQ(m_server.Requests().size(), requests) << "an opened project starts nothing by itself";
    EXPECT_EQ(reopened->KeywordReport().VisibleRowsText(), kKeywordRows);
    EXPECT_EQ(reopened->Page().m_bar.Progress().m_format, u"13 of 13 requests, 2 failed"_s);
    ClickCell(reopened->KeywordReport(), 2, CProject2_Rep1::kKeyword);
    EXPECT_EQ(reopened->AdsReport().VisibleRowsText(), ads);
    EXPECT_EQ(reopened->Records()[0].Engine(Project2Engine::Google).ads[2].title, u"Cheap <red> shoes"_s);
}

// Stopping a run gives back the downloader its unanswered request holds; Start asks again only for what is
// still missing.
TEST_F(NicheLantern, StopReleasesAndStartAsksForWhatIsMissing) {
    m_server.Serve(Endpoint::GoogleWeb, "/search", {"q=red shoes"},
                   HttpReply::With(HttpReply::Delivery::Stall));
    CProject2* project = NewKind2(u"red shoes;"_s);
    ASSERT_NE(project, nullptr);
    // Everything but Google settles: no page for the other services gives no data.
    ASSERT_TRUE(TickUntil([&] {
        const CProject2_Keyword& r = project->Records()[0];
        return r.tool.estimatedSearch != task_value::kNotAsked && r.intent != task_value::kNotAsked &&
               r.Engine(Project2Engine::Bing).adCount != task_value::kNotAsked &&
               r.Engine(Project2Engine::Yahoo).adCount != task_value::kNotAsked;
    }));
    EXPECT_TRUE(project->IsRunning()) << "Google has not answered";
    EXPECT_GE(g_pCrawler->CountJobDownloaders(project->m_id), 1);
    Window().dlg.OnCommand(u"prj2_stop"_s, 0);
    EXPECT_FALSE(project->IsRunning());
    // The worker drops the interrupted exchange on its own thread.
    EXPECT_TRUE(TickUntil([&] { return g_pCrawler->CountJobDownloaders(project->m_id) == 0; }, 3000));

    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"q=red shoes"}, u"kind2/google_red.html"_s);
    const int bing = m_server.CountRequests(Endpoint::BingWeb);
    Window().dlg.OnCommand(u"prj2_start"_s, 0);
    EXPECT_EQ(project->Page().m_bar.Total(), 1);
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));
    EXPECT_EQ(m_server.CountRequests(Endpoint::BingWeb), bing);
    EXPECT_EQ(project->Records()[0].Engine(Project2Engine::Google).adCount, 3);
}

// Start with nothing left to ask but a failed request asks that one again and nothing else, without a
// question; failing again, it stays listed once, and the bar keeps its count and the error.
TEST_F(NicheLantern, StartWithNothingLeftKeepsTheBarAndTheError) {
    CProject2* project = NewKind2(u"blue shoes;"_s);
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning() && project->Page().m_bar.Total() > 0; }));
    const QString error = project->Page().m_bar.ErrorText();
    ASSERT_EQ(error, u"Bing (blue shoes): HTTP error 404 Not Found"_s);
    EXPECT_EQ(project->Page().m_bar.Progress().m_format, u"5 of 5 requests, 1 failed"_s);
    const size_t requests = m_server.Requests().size();

    Window().dlg.OnCommand(u"prj2_start"_s, 0);
    EXPECT_TRUE(project->IsRunning());
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));
    EXPECT_EQ(m_server.Requests().size(), requests + 1);
    EXPECT_EQ(m_server.CountRequests(Endpoint::BingWeb), 2);
    const QString shown = project->Page().m_bar.Progress().m_format;
    EXPECT_EQ(shown, u"1 of 1 requests, 1 failed"_s);
    EXPECT_EQ(project->Page().m_bar.Failures(), QStringList{error}) << "listed once";
    EXPECT_EQ(project->Page().m_bar.ErrorText(), error);
    EXPECT_EQ(project->Page().m_bar.Button().m_caption, u"Start"_s);
    EXPECT_TRUE(Window().script.messages.empty());
}

// The two grids meet at the splitter: dragging it moves the border, and a taller window keeps the upper
// grid's share of the height.
TEST_F(NicheLantern, GridsFollowTheSplitterAndTheWindow) {
    CProject2* project = NewKind2(u"red shoes;"_s);
    ASSERT_NE(project, nullptr);
    CMainDlg& dlg = Window().dlg;
    const CReportPanes& panes = project->Page().m_panes;
    const CSkinListBox& upper = project->KeywordReport();
    const CSkinListBox& lower = project->AdsReport();
    const auto meetAtSplitter = [&] {
        EXPECT_EQ(upper.m_y + upper.m_height, panes.SplitterPosition() - 3);
        EXPECT_EQ(lower.m_y, panes.SplitterPosition() + 3);
        EXPECT_EQ(lower.m_y + lower.m_height, dlg.m_height - CReportPanes::kBottomMargin);
    };
    meetAtSplitter();
    const int top = upper.m_y;
    dlg.OnCommand(panes.SplitterCommand(), top + 123);
    EXPECT_EQ(upper.m_height, 120);
    meetAtSplitter();

    const double share =
        double(panes.SplitterPosition() - top) / (dlg.m_height - top - CReportPanes::kBottomMargin);
    dlg.m_height += 300;
    dlg.OnSizeChanged(plat::SizeType::Restored);
    meetAtSplitter();
    EXPECT_NEAR(double(panes.SplitterPosition() - top) / (dlg.m_height - top - CReportPanes::kBottomMargin),
                share, 0.01);
}

// At the smallest window both grids show three whole rows (room kept for a horizontal scrollbar), with the
// splitter dragged as far as it goes either way there, or in a taller window before it shrank.
TEST_F(NicheLantern, AtTheSmallestWindowBothGridsKeepThreeRows) {
    CProject2* project = NewKind2(u"red shoes;"_s);
    ASSERT_NE(project, nullptr);
    CMainDlg& dlg = Window().dlg;
    const QString splitter = project->Page().m_panes.SplitterCommand();
    const CSkinListBox& upper = project->KeywordReport();
    const CSkinListBox& lower = project->AdsReport();
    const auto resize = [&dlg](int width, int height) {
        dlg.m_width = width;
        dlg.m_height = height;
        dlg.OnSizeChanged(plat::SizeType::Restored);
        dlg.RedrawNow();
    };
    for (const int dragTo : {0, 100'000}) {
        for (const bool dragTaller : {false, true}) {
            SCOPED_TRACE(std::string(dragTo == 0 ? "up" : "down") + (dragTaller ? ", taller" : ""));
            resize(MainWindowSize::kMinWidth, dragTaller ? 1200 : MainWindowSize::kMinHeight);
            dlg.OnCommand(splitter, dragTo);
            resize(MainWindowSize::kMinWidth, MainWindowSize::kMinHeight);
            EXPECT_GE(upper.WholeRowsShown(), CReportPanes::kMinRows);
            EXPECT_GE(lower.WholeRowsShown(), CReportPanes::kMinRows);
            EXPECT_GT(upper.m_bottomInset, 4) << "the keyword grid is wider than the smallest window";
        }
    }
}

// The ads grid follows the selected keyword only while a filter shows it: hidden, the grid empties and an
// export writes no ads under a list that no longer holds their keyword; shown again, its ads come back and
// an export names their keyword above them.
TEST_F(NicheLantern, AdsFollowTheSelectedKeywordOnlyWhileItIsShown) {
    CProject2* project = NewKind2(u"red shoes;blue shoes;green shoes;"_s);
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return project->Records()[0].Engine(Project2Engine::Google).adCount >= 0; }));
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));
    ClickCell(project->KeywordReport(), 2, CProject2_Rep1::kKeyword);
    const QString ads = project->AdsReport().VisibleRowsText();
    ASSERT_FALSE(ads.isEmpty());
    const auto keywordFilter = [](const QString& words) {
        return [words](CSkinListBox_FilterDlg& dlg) {
            dlg.m_enableCheck.m_checked = !words.isEmpty();
            dlg.m_edit1.SetText(words);
            skintest::ClickElement(dlg, dlg.m_ok);
        };
    };

    FilterColumn(project->KeywordReport(), CProject2_Rep1::kKeyword, keywordFilter(u"blue"_s));
    const QByteArray csv = ExportCurrent(u"filtered.csv"_s);
    EXPECT_FALSE(csv.contains("Red Shoes Sale")) << csv.toStdString();
    EXPECT_EQ(csv.count("\r\n\r\n"), 1) << "the keyword table alone";
    // The grid hears of the new order once the window repaints.
    EXPECT_TRUE(TickUntil([&] { return project->AdsReport().ShownKeyword() == -1; }, 3000));
    EXPECT_TRUE(project->AdsReport().VisibleRowsText().isEmpty());

    FilterColumn(project->KeywordReport(), CProject2_Rep1::kKeyword, keywordFilter(QString()));
    EXPECT_TRUE(TickUntil([&] { return project->AdsReport().ShownKeyword() == 0; }, 3000));
    EXPECT_EQ(project->AdsReport().VisibleRowsText(), ads);
    const QByteArray shown = ExportCurrent(u"shown.csv"_s);
    EXPECT_TRUE(shown.contains("\r\n\r\n\"Ads for red shoes\"\r\n\"Engine\",")) << shown.toStdString();
}
