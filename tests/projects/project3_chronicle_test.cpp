#include "app/skin_ad_display_dlg.h"
#include "core/packed_minutes.h"
#include "net/http_url.h"
#include "projects/kind3/project3.h"
#include "skin/skin_constants.h"
#include "tests/projects/kind_test.h"
#include "tests/support/qstring_printer.h"
#include "tests/support/test_clock.h"

#include <QDateTime>
#include <QTimeZone>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

std::int64_t LocalSeconds(int year, int month, int day, int hour) {
    return QDateTime(QDate(year, month, day), QTime(hour, 0)).toSecsSinceEpoch();
}

class CampaignChronicle : public projtest::KindTest {
  protected:
    void SetUp() override {
        KindTest::SetUp();
        m_clock.emplace(twtest::PinnedReadings{.utcSeconds = 0});
        const std::string keyword = "q=blue widgets";
        m_server.ServeFile(Endpoint::GoogleWeb, "/search", {keyword, "start=0"},
                           u"kind3/google_page1.html"_s);
        m_server.ServeFile(Endpoint::GoogleWeb, "/search", {keyword, "start=10"},
                           u"kind3/google_page2.html"_s);
        m_server.ServeFile(Endpoint::GoogleWeb, "/search", {keyword, "start=20"},
                           u"kind3/google_page3.html"_s);
        m_server.ServeFile(Endpoint::BingWeb, "/search", {keyword, "first=0"}, u"kind3/bing_page1.html"_s);
        // The engine fails in the middle of the run: its second page never answers.
        m_server.Serve(Endpoint::BingWeb, "/search", {keyword, "first=10"},
                       twtest::HttpReply::With(twtest::HttpReply::Delivery::CloseAtOnce));
        m_server.ServeFile(Endpoint::BingWeb, "/search", {keyword, "first=20"}, u"kind3/bing_page3.html"_s);
        // "b=1" is also part of "b=11" and "b=21": the rules added later win.
        m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=blue widgets", "b=1"},
                           u"kind3/yahoo_page1.html"_s);
        m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=blue widgets", "b=11"},
                           u"kind3/yahoo_page2.html"_s);
        m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=blue widgets", "b=21"},
                           u"kind3/yahoo_page3.html"_s);
    }
    void TearDown() override {
        KindTest::TearDown();
        m_clock.reset();
    }

    CProject3* Chronicle() { return dynamic_cast<CProject3*>(Current()); }
    bool RunOnce(CProject3& project) {
        return TickUntil([&] { return !project.IsRunning(); });
    }

    // The real monotonic clock with a date the test sets, so that every run of the history is dated.
    std::optional<twtest::TestClock> m_clock;
};

struct AdvertiserRow {
    QString domain;
    int adsSeen;
    QString engines;
    int firstSeen;
    int lastSeen;
    bool operator==(const AdvertiserRow&) const = default;
};

std::vector<AdvertiserRow> Rows(const CProject3& project) {
    std::vector<AdvertiserRow> rows;
    for (const CProject3_Advertiser& a : project.Advertisers())
        rows.push_back({a.domain, a.adsSeen, a.EngineNames(), a.firstSeen, a.lastSeen});
    return rows;
}

void PrintTo(const AdvertiserRow& r, std::ostream* os) {
    *os << r.domain.toStdString() << " " << r.adsSeen << " " << r.engines.toStdString() << " " << r.firstSeen
        << ".." << r.lastSeen;
}

} // namespace

// Two runs a day apart through the wizard and the tick: each reads three pages of every engine, counts an ad
// shown on several pages of one engine once per run, goes on past a failing page with its error shown, and
// adds its sightings to the dated history. The history survives save and open and exports as expected.
TEST_F(CampaignChronicle, RunsAddToTheDatedHistoryWhichSurvivesSaveOpenAndExport) {
    m_clock->PinUtcSeconds(LocalSeconds(2026, 3, 9, 10));
    const int day1 = PackMinutes(2026, 3, 9, 10, 0);
    ASSERT_NE(NewProject(3, u"blue widgets;ignored second;"_s), nullptr);
    CProject3* project = Chronicle();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->Keyword(), u"blue widgets"_s);
    ASSERT_TRUE(project->IsRunning()) << "a project from the wizard starts at once";
    ASSERT_TRUE(RunOnce(*project));
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleWeb), 3);
    EXPECT_EQ(m_server.CountRequests(Endpoint::BingWeb), 3);
    EXPECT_EQ(m_server.CountRequests(Endpoint::YahooWeb), 3);
    EXPECT_EQ(project->m_page.m_bar.Done(), 9);
    EXPECT_TRUE(project->m_page.m_bar.ErrorText().startsWith(u"Bing (blue widgets): Receive error"_s))
        << project->m_page.m_bar.ErrorText().toStdString();
    EXPECT_TRUE(project->m_hasResults);
    EXPECT_EQ(Rows(*project),
              (std::vector<AdvertiserRow>{{u"shop.example"_s, 4, u"Google, Bing, Yahoo"_s, day1, day1},
                                          {u"widgetworld.example"_s, 2, u"Google, Bing"_s, day1, day1},
                                          {u"acme.example"_s, 3, u"Google, Bing, Yahoo"_s, day1, day1}}));

    m_clock->PinUtcSeconds(LocalSeconds(2026, 3, 10, 10));
    Window().dlg.OnCommand(u"prj3_start"_s, 0);
    ASSERT_TRUE(project->IsRunning());
    ASSERT_TRUE(RunOnce(*project));

    // Picking an advertiser lists its sightings; a click on a title previews that ad.
    project->m_rep1.SelectRange(2, 2);
    ASSERT_EQ(project->m_rep2.m_shown.size(), 6u);
    project->m_rep2.Rebuild();
    ASSERT_EQ(project->m_rep2.VisibleCount(), 6);
    const int row = 0;
    const int item = project->m_rep2.Order()[size_t(row)];
    const CDownloader_Parsers_SE_result expectedAd =
        project->Ads()[size_t(project->m_rep2.m_shown[size_t(item)])].ad;
    EXPECT_EQ(SiteOfUrl(expectedAd.show_url), u"acme.example"_s);
    CDownloader_Parsers_SE_result previewed;
    Window().script.Then(skintest::ModalScript::On<CSkinAdDisplay_Dlg>([&](CSkinAdDisplay_Dlg& preview) {
        previewed = preview.m_display.m_ad;
        preview.EndSkinDialog(skin::kResultCancel);
    }));
    ClickCell(project->m_rep2, row, CProject3_Rep2::kTitle);
    EXPECT_EQ(previewed.title, expectedAd.title);
    EXPECT_EQ(previewed.full_url, expectedAd.full_url);

    const QByteArray csv = ExportCurrent(u"chronicle.csv"_s);
    const QByteArray html = ExportCurrent(u"chronicle.htm"_s);
    ExpectSameAsDataFile(csv, u"kind3/export.csv"_s);
    ExpectSameAsDataFile(html, u"kind3/export.htm"_s);

    const size_t sightings = project->Ads().size();
    const int requests = int(m_server.Requests().size());
    ASSERT_NE(ExpectReopensAsShown(u"chronicle.twpx"_s), nullptr);
    project = Chronicle();
    ASSERT_NE(project, nullptr);
    Tick(5);
    EXPECT_FALSE(project->IsRunning()) << "an opened project waits for Start";
    EXPECT_EQ(int(m_server.Requests().size()), requests);
    EXPECT_EQ(project->Keyword(), u"blue widgets"_s);
    EXPECT_EQ(project->m_keywordEdit.GetText(), u"blue widgets"_s);
    ASSERT_EQ(project->Ads().size(), sightings);
    project->m_rep1.SelectRange(2, 2);
    EXPECT_EQ(ExportCurrent(u"reopened.csv"_s), csv);
}

// A changed keyword starts a new history only once the user agreed; declining keeps history and keyword.
TEST_F(CampaignChronicle, ChangedKeywordAsksBeforeTheHistoryGoes) {
    m_clock->PinUtcSeconds(LocalSeconds(2026, 3, 9, 10));
    ASSERT_NE(NewProject(3, u"blue widgets"_s), nullptr);
    CProject3* project = Chronicle();
    ASSERT_TRUE(RunOnce(*project));
    const size_t sightings = project->Ads().size();
    ASSERT_GT(sightings, 0u);

    project->m_keywordEdit.SetText(u"red widgets"_s);
    Window().script.Then(skintest::ModalScript::Answer(7));
    Window().dlg.OnCommand(u"prj3_start"_s, 0);
    EXPECT_FALSE(project->IsRunning());
    EXPECT_EQ(project->m_keywordEdit.GetText(), u"blue widgets"_s);
    EXPECT_EQ(project->Ads().size(), sightings);

    project->m_keywordEdit.SetText(u"red widgets"_s);
    Window().script.Then(skintest::ModalScript::Answer(6));
    Window().dlg.OnCommand(u"prj3_start"_s, 0);
    EXPECT_TRUE(project->IsRunning());
    EXPECT_EQ(project->Keyword(), u"red widgets"_s);
    EXPECT_TRUE(project->Ads().empty());
    ASSERT_TRUE(RunOnce(*project));
    EXPECT_TRUE(project->Advertisers().empty()) << "no page answers for the new keyword";
}
