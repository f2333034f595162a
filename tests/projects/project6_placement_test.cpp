#include "core/headless_platform_services.h"
#include "tests/projects/sites_kind_test.h"
#include "tests/support/qstring_printer.h"

#include <iostream>
#include <set>

using namespace Qt::StringLiterals;

namespace {

using Project6Test = projtest::SitesKindTest;

QString ShownRows(CProject6& project) {
    return project.Report().VisibleRowsText();
}

} // namespace

// The whole road: wizard, result pages, every site's home page tested once, ranks of the sites with ad
// units only, failed sites listed with no data; then save, open, the same rows, and the exports.
TEST_F(Project6Test, FindsSitesWithAdUnitsFromWizardToExport) {
    auto* project = dynamic_cast<CProject6*>(NewProject(6, u"garden gnomes;"_s));
    ASSERT_NE(project, nullptr);
    EXPECT_TRUE(project->IsRunning());
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));

    // Three result pages by default; the third holds no results.
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleWeb), 3);
    ASSERT_EQ(project->Sites().size(), 6u) << "the engine's own link is dropped and A is listed once";
    EXPECT_EQ(m_sites.a.Requests().size(), 1u);

    const CProject6_Site* a = SiteOf(*project, 'A');
    const CProject6_Site* b = SiteOf(*project, 'B');
    const CProject6_Site* c = SiteOf(*project, 'C');
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(c->test, CProject6_Site::kNotFound);
    EXPECT_EQ(c->pageRank, task_value::kNotAsked);
    for (const char failed : {'D', 'E', 'F'}) {
        const CProject6_Site* s = SiteOf(*project, failed);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->test, task_value::kNoData) << failed;
    }
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleToolbar), 2);
    EXPECT_EQ(m_server.CountRequests(Endpoint::AlexaData), 2);
    EXPECT_EQ(project->Report().VisibleCount(), 5) << "C shows no ads";
    EXPECT_FALSE(project->Bar().ErrorText().isEmpty());
    EXPECT_EQ(project->Bar().Done(), project->Bar().Total());
    EXPECT_EQ(g_pCrawler->CountJobDownloaders(project->m_id), 0);

    // Page rank, descending: the real ranks first, no data last.
    project->Report().m_sortColumn = CProject6_Rep::kPageRank;
    project->Report().m_sortDirection = 1;
    project->Report().InvalidateContent();
    project->Report().UpdateItemCount();
    const std::vector<int> order = project->Report().Order();
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(&project->Sites()[size_t(order[0])], b);
    EXPECT_EQ(&project->Sites()[size_t(order[1])], a);

    const std::vector<CProject6_Site> sites = project->Sites();
    const QString rows = ShownRows(*project);
    DefaultPlatformServices().Clear();
    project->Report().SelectAllVisible();
    project->OnCommand(project->Report().CopyCommand(), 0, nullptr);
    EXPECT_EQ(DefaultPlatformServices().CopiedTexts(), QStringList{rows}) << "Copy in the report's menu";
    auto* opened = dynamic_cast<CProject6*>(ExpectReopensAsShown(u"gnomes.twpx"_s));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Keywords(), QStringList{u"garden gnomes"_s});
    EXPECT_EQ(opened->Sites(), sites);
    const size_t requests = m_server.Requests().size();
    Tick(4);
    EXPECT_FALSE(opened->IsRunning());
    EXPECT_EQ(m_server.Requests().size(), requests) << "an opened project starts nothing by itself";
    EXPECT_EQ(ShownRows(*opened), rows);

    opened->Report().SelectRange(0, -1);
    ExpectSameAsDataFile(m_sites.Mask(ExportCurrent(u"gnomes.csv"_s)), u"kind6/expected.csv"_s);
    ExpectSameAsDataFile(m_sites.Mask(ExportCurrent(u"gnomes.htm"_s)), u"kind6/expected.htm"_s);

    // The sites that failed are listed and read "Failed". A second Start of the finished run (just opened,
    // so nothing unsaved is lost) starts anew: with E and F answering now their cells fill, while D refuses
    // again and F's ranks, which no service knows, are marked failed on its row.
    EXPECT_EQ(opened->Bar().Failures().size(), 3);
    EXPECT_EQ(rows.count(CFailedTasks::kCellText), 3);
    m_sites.e.SetDefaultReply(
        twtest::HttpReply::Page(projtest::FixtureServer::ReadDataFile(u"kind6/site_c.html"_s)));
    m_sites.f.SetDefaultReply(
        twtest::HttpReply::Page(projtest::FixtureServer::ReadDataFile(u"kind6/site_f.html"_s)));
    Window().dlg.OnCommand(u"prj6_start"_s, 0);
    ASSERT_TRUE(TickUntil([&] { return !opened->IsRunning(); }));
    EXPECT_EQ(SiteOf(*opened, 'E')->test, CProject6_Site::kNotFound);
    const CProject6_Site* f = SiteOf(*opened, 'F');
    EXPECT_EQ(f->test, CProject6_Site::kFound);
    EXPECT_FALSE(f->marker.isEmpty());
    EXPECT_TRUE(f->failed.IsFailed(CProject6_Site::kPageRankTask) &&
                f->failed.IsFailed(CProject6_Site::kTrafficRankTask));
    EXPECT_TRUE(SiteOf(*opened, 'D')->failed.IsFailed(CProject6_Site::kHomePageTask));
    EXPECT_EQ(opened->Bar().Failures().size(), 3) << opened->Bar().Failures().join(u'|').toStdString();
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleWeb), 6);
}

// Stop gives every download slot back (a slot whose exchange is under way returns once its worker drops the
// job) and Start goes on where the run stopped; every keyword is searched, and a keyword whose page holds no
// results is not asked for its later pages.
TEST_F(Project6Test, StopReleasesAndStartGoesOn) {
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"ornaments"}, u"kind6/google_empty.html"_s);
    auto* project = dynamic_cast<CProject6*>(NewProject(6, u"garden gnomes;lawn ornaments;"_s));
    ASSERT_NE(project, nullptr);
    // Stopped once the server has the first search, so the count of searches below does not hang on timing.
    ASSERT_TRUE(TickUntil([&] { return m_server.CountRequests(Endpoint::GoogleWeb) > 0; }));
    project->OnCommand(u"prj6_stop"_s, 0, nullptr);
    EXPECT_FALSE(project->IsRunning());
    EXPECT_TRUE(TickUntil([&] { return g_pCrawler->CountJobDownloaders(project->m_id) == 0; }));
    Tick(3);
    EXPECT_EQ(g_pCrawler->CountJobDownloaders(project->m_id), 0);

    project->OnCommand(u"prj6_start"_s, 0, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));
    EXPECT_EQ(project->Sites().size(), 6u);
    EXPECT_EQ(m_sites.a.Requests().size(), 1u);
    EXPECT_EQ(project->Report().VisibleCount(), 5);
    // Pages 1 to 3 of the first keyword and page 1 of the second, each once, except that the search under way
    // at the stop may be asked again.
    std::set<std::string> searches;
    for (const twtest::RecordedRequest& request : m_server.Requests())
        if (request.target.starts_with(projtest::FixtureServer::Prefix(Endpoint::GoogleWeb)))
            searches.insert(request.target);
    EXPECT_EQ(searches.size(), 4u);
    EXPECT_LE(m_server.CountRequests(Endpoint::GoogleWeb), 5);
    EXPECT_EQ(project->Bar().Done(), project->Bar().Total());
}

// A site that never answers holds up only its own row: the site after it is tested and ranked meanwhile,
// and the silent one ends with no data once the downloader's receive time-out has passed.
TEST_F(Project6Test, SiteThatNeverAnswersHoldsUpOnlyItsOwnRow) {
    twtest::HttpServer silent;
    silent.SetDefaultReply(twtest::HttpReply::With(twtest::HttpReply::Delivery::Stall));
    const std::string silentHost = "127.0.0.1:" + std::to_string(silent.Port());
    const auto result = [](const std::string& host) {
        return "<li class=\"g\"><h3><a href=\"http://" + host + "/\">" + host + "</a></h3></li>";
    };
    m_server.Serve(Endpoint::GoogleWeb, "/search", {"silent"},
                   twtest::HttpReply::Page("<div id=\"res\"><ol>" + result(silentHost) +
                                           result(m_sites.Host('A')) + "</ol></div>"));
    auto* project = dynamic_cast<CProject6*>(NewProject(6, u"silent gnomes;"_s));
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] {
        const CProject6_Site* a = SiteOf(*project, 'A');
        return a && a->trafficRank != -1 && a->pageRank != -1;
    }));
    ASSERT_EQ(project->Sites().size(), 2u);
    EXPECT_EQ(project->Sites()[0].test, task_value::kNotAsked);
    EXPECT_TRUE(project->IsRunning());

    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }, 40000));
    EXPECT_EQ(project->Sites()[0].test, task_value::kNoData);
    EXPECT_TRUE(project->Bar().ErrorText().startsWith(u"Home page ("_s + QString::fromStdString(silentHost) +
                                                      u"): Receive error"_s))
        << project->Bar().ErrorText().toStdString();
    EXPECT_EQ(project->Report().VisibleCount(), 2);
}

// A home page that sends the program round in circles is left after a few hops, with no data.
TEST_F(Project6Test, RedirectLoopIsLeftAfterAFewHops) {
    twtest::HttpServer loop;
    loop.SetDefaultReply(twtest::HttpReply::Redirect(302, "/again"));
    const std::string host = "127.0.0.1:" + std::to_string(loop.Port());
    m_server.Serve(Endpoint::GoogleWeb, "/search", {"looping"},
                   twtest::HttpReply::Page("<div id=\"res\"><ol><li class=\"g\"><h3><a href=\"http://" +
                                           host + "/\">Loop</a></h3></li></ol></div>"));
    auto* project = dynamic_cast<CProject6*>(NewProject(6, u"looping lawns;"_s));
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));
    ASSERT_EQ(project->Sites().size(), 1u);
    EXPECT_EQ(project->Sites()[0].test, task_value::kNoData);
    EXPECT_EQ(loop.Requests().size(), 6u) << "the page and five hops";
    EXPECT_TRUE(project->Bar().ErrorText().endsWith(u"302"_s));
}

// Asking a lane for its next task takes nothing: asked twice in one step, any free home-page lane names the
// same site. The pace is kept where requests start: a step starts no more home pages than the kind allows,
// however many lanes and sites wait, and the run still tests every site.
TEST_F(Project6Test, NextTaskTakesNothingAndEachStepKeepsThePace) {
    auto* project = dynamic_cast<CProject6*>(NewProject(6, u"garden gnomes;"_s));
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return project->Sites().size() >= 3; })) << "the first result page's sites";
    project->OnCommand(u"prj6_stop"_s, 0, nullptr);
    ASSERT_TRUE(TickUntil([&] { return g_pCrawler->CountJobDownloaders(project->m_id) == 0; }));
    // A step while stopped starts nothing.
    Tick(1);

    // The hooks are a private base of the kind; a C-style cast is the one way to reach them from here.
    CRunHooks& hooks = (CRunHooks&)*project;
    const int site = hooks.NextTask(CProject6::kFirstHomePageLane);
    ASSERT_GE(site, 0);
    EXPECT_EQ(project->Sites()[size_t(site)].test, task_value::kNotAsked);
    EXPECT_EQ(hooks.NextTask(CProject6::kFirstHomePageLane), site);
    EXPECT_EQ(hooks.NextTask(CProject6::kFirstHomePageLane + 1), site);

    // One result page per keyword: no search is left, so the only requests of the next step are home pages.
    project->PagesSlider().m_position = CProject6::kMinPages;
    project->OnCommand(u"prj6_start"_s, 0, nullptr);
    ASSERT_TRUE(project->IsRunning());
    Tick(1);
    EXPECT_EQ(g_pCrawler->CountJobDownloaders(project->m_id), CProject6::kHomePagesPerStep);

    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));
    for (const CProject6_Site& s : project->Sites())
        EXPECT_NE(s.test, task_value::kNotAsked) << s.site.toStdString();
}

// A stopped run goes on at Start, without a question, and asks its failed sites again: a home page that
// answered 503 is tested once it answers.
TEST_F(Project6Test, StartAfterAStopAsksTheFailedSitesAgain) {
    twtest::HttpServer silent;
    silent.SetDefaultReply(twtest::HttpReply::With(twtest::HttpReply::Delivery::Stall));
    twtest::HttpServer flaky;
    twtest::HttpReply unavailable = twtest::HttpReply::Page("<html><body>busy</body></html>");
    unavailable.status = 503;
    unavailable.reason = "Service Unavailable";
    flaky.SetDefaultReply(unavailable);
    const auto result = [](const twtest::HttpServer& server) {
        const std::string host = "127.0.0.1:" + std::to_string(server.Port());
        return "<li class=\"g\"><h3><a href=\"http://" + host + "/\">" + host + "</a></h3></li>";
    };
    m_server.Serve(
        Endpoint::GoogleWeb, "/search", {"flaky", "start=0"},
        twtest::HttpReply::Page("<div id=\"res\"><ol>" + result(silent) + result(flaky) + "</ol></div>"));
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"flaky", "start=10"}, u"kind6/google_empty.html"_s);
    auto* project = dynamic_cast<CProject6*>(NewProject(6, u"flaky gnomes;"_s));
    ASSERT_NE(project, nullptr);
    const auto flakySite = [&] { return project->Sites().size() == 2 ? &project->Sites()[1] : nullptr; };
    ASSERT_TRUE(TickUntil([&] { return flakySite() && flakySite()->failed.Any(); }));
    EXPECT_TRUE(project->IsRunning()) << "the silent site holds the run";
    project->OnCommand(u"prj6_stop"_s, 0, &Window().dlg);
    EXPECT_EQ(project->Bar().Failures().size(), 1);

    flaky.SetDefaultReply(
        twtest::HttpReply::Page(projtest::FixtureServer::ReadDataFile(u"kind6/site_a.html"_s)));
    project->OnCommand(u"prj6_start"_s, 0, &Window().dlg);
    EXPECT_TRUE(Window().script.messages.empty()) << "nothing is lost, so nothing is asked";
    ASSERT_TRUE(TickUntil([&] { return flakySite()->test == CProject6_Site::kFound; }));
    EXPECT_FALSE(flakySite()->failed.Any());
    EXPECT_TRUE(project->Bar().Failures().isEmpty()) << "the failure left the list as it was asked again";
    EXPECT_EQ(flaky.Requests().size(), 2u);
    // Pages 1 and 2 (the second holds no results); the one under way at the stop may be asked again.
    EXPECT_LE(m_server.CountRequests(Endpoint::GoogleWeb), 3);
    project->OnCommand(u"prj6_stop"_s, 0, &Window().dlg);
}
