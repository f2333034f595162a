// Replies with a 4xx or 5xx status, through the real kinds: each is a failed request whose error, named by
// service and keyword, shows beside the progress bar, and whose page is not read into the report even when
// it looks like the page asked for.

#include "projects/kind2/project2.h"
#include "projects/kind3/project3.h"
#include "projects/kind4/project4.h"
#include "projects/kind6/project6.h"
#include "tests/projects/kind_test.h"
#include "tests/projects/project6_sites.h"
#include "tests/support/qstring_printer.h"

#include <QRegularExpression>
#include <gmock/gmock.h>

using namespace Qt::StringLiterals;
using projtest::FixtureServer;
using projtest::ShownCells;

namespace {

twtest::HttpReply ErrorPage(const QString& dataFile, int status, const std::string& reason) {
    twtest::HttpReply reply = twtest::HttpReply::Page(FixtureServer::ReadDataFile(dataFile));
    reply.status = status;
    reply.reason = reason;
    return reply;
}

// Some service's error, whichever failed last: several services run side by side.
MATCHER_P(IsHttpErrorOf, keyword, "") {
    static const QRegularExpression kForm(
        u"^(Keyword tool|Google|Bing|Yahoo|Commercial intention) \\((.+)\\): HTTP error (404 Not Found|500 "
        u"Internal Server Error)$"_s);
    const QRegularExpressionMatch match = kForm.match(arg);
    return match.hasMatch() && match.captured(2) == keyword;
}

using HttpErrorReplies = projtest::KindTest;

} // namespace

// Kind 3 asks the engines one page after another: every page answers 404, the first with a real result page
// full of ads. The run ends with its bar full, the last request's error and no advertiser.
TEST_F(HttpErrorReplies, ChronicleListsNothingFromErrorPages) {
    m_server.Serve(Endpoint::GoogleWeb, "/search", {"blue widgets", "start=0"},
                   ErrorPage(u"kind3/google_page1.html"_s, 404, "Not Found"));
    ASSERT_NE(NewProject(3, u"blue widgets;"_s), nullptr);
    auto* project = dynamic_cast<CProject3*>(Current());
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));
    EXPECT_EQ(project->m_page.m_bar.Done(), 9);
    EXPECT_EQ(project->m_page.m_bar.ErrorText(), u"Yahoo (blue widgets): HTTP error 404 Not Found"_s);
    EXPECT_EQ(project->m_rep1.VisibleCount(), 0);
    EXPECT_FALSE(project->m_hasResults);
}

// Kind 2 with every service failing, Bing with a 500 whose page holds a result count and ads: every cell of
// the keyword reads as failed (not as no data), and the error names a service and the keyword.
TEST_F(HttpErrorReplies, NicheLanternReadsNoCountFromAServerError) {
    m_server.Serve(Endpoint::BingWeb, "/search", {"q=red shoes"},
                   ErrorPage(u"kind2/bing_red.html"_s, 500, "Internal Server Error"));
    auto* project = dynamic_cast<CProject2*>(NewProject(2, u"red shoes;"_s));
    ASSERT_NE(project, nullptr);
    Tick(1);
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));
    EXPECT_EQ(m_pictureAsks, 0) << "an error page in place of the picture code is not shown";
    EXPECT_THAT(project->Page().m_bar.ErrorText(), IsHttpErrorOf(u"red shoes"_s));
    EXPECT_EQ(project->Page().m_bar.Done(), project->Page().m_bar.Total());
    const std::vector<QStringList> rows = ShownCells(project->KeywordReport());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], QStringList({u"red shoes"_s}) + QStringList(9, u"Failed"_s));
}

// Kind 4 stores a failed search as failed and takes no sites from it, though the 500 page lists ten.
TEST_F(HttpErrorReplies, RankSummitTakesNoSitesFromAServerError) {
    m_server.Serve(Endpoint::GoogleWeb, "/search", {"blue widgets"},
                   ErrorPage(u"kind4/google_blue_widgets.html"_s, 500, "Internal Server Error"));
    auto* project = dynamic_cast<CProject4*>(NewProject(4, u"blue widgets;"_s));
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !project->Bar().IsRunning() && project->Bar().Total() > 0; }));
    EXPECT_THAT(project->Bar().ErrorText(), IsHttpErrorOf(u"blue widgets"_s));
    EXPECT_EQ(project->Bar().Done(), project->Bar().Total());
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleToolbar), 0) << "no site came from the error page";
    const std::vector<QStringList> rows = ShownCells(project->KeywordReport());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], QStringList({u"blue widgets"_s}) + QStringList(4, u"Failed"_s));
}

// Kind 6: a home page that answers 500 with an ad unit in it is a failed site, named in the error by the
// site.
TEST_F(HttpErrorReplies, PlacementScoutFailsASiteThatAnswersWithAServerError) {
    projtest::Project6Sites sites;
    twtest::HttpReply broken = twtest::HttpReply::Page(FixtureServer::ReadDataFile(u"kind6/site_a.html"_s));
    broken.status = 500;
    broken.reason = "Internal Server Error";
    sites.a.SetReply("/", broken);
    const std::string host = sites.Host('A');
    m_server.Serve(Endpoint::GoogleWeb, "/search", {"broken gnomes", "start=0"},
                   twtest::HttpReply::Page("<div id=\"res\"><ol><li class=\"g\"><h3><a href=\"http://" +
                                           host + "/\">A</a></h3></li></ol></div>"));
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"broken gnomes", "start=10"},
                       u"kind6/google_empty.html"_s);
    auto* project = dynamic_cast<CProject6*>(NewProject(6, u"broken gnomes;"_s));
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));
    ASSERT_EQ(project->Sites().size(), 1u);
    EXPECT_EQ(project->Sites()[0].test, task_value::kNoData);
    EXPECT_EQ(project->Sites()[0].marker, QString()) << "the error page's ad unit is not read";
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleToolbar), 0);
    EXPECT_EQ(project->Bar().ErrorText(),
              u"Home page ("_s + QString::fromStdString(host) + u"): HTTP error 500 Internal Server Error"_s);
}
