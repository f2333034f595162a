#include "app/new_project_dlg.h"
#include "net/crawler.h"
#include "projects/kind1/project1.h"
#include "skin/skin_constants.h"
#include "tests/projects/kind_test.h"
#include "tests/support/skin_test_support.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using projtest::FixtureServer;

// The report's visible rows in their order, each as its cells' texts joined by " | ".
QStringList ReportRows(CProject1_Rep& report) {
    QStringList rows;
    for (const QStringList& cells : projtest::ShownCells(report))
        rows.append(cells.join(u" | "_s));
    return rows;
}

class Project1EndToEnd : public projtest::KindTest {
  protected:
    void SetUp() override {
        KindTest::SetUp();
        const std::string picture("\xFF\xD8\xFF\xE0 picture \xFF\xD9", 14);
        m_server.Serve(Endpoint::GoogleKeywordTool, "/select/KeywordToolCaptcha", {},
                       twtest::HttpReply::Page(picture, "image/jpeg"));
        m_server.ServeFile(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {"keywords=blue widgets"},
                           u"kind1/keyword_tool.js"_s);
        m_server.Serve(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {"keywords=red widgets"},
                       twtest::HttpReply::Page("var criteria = new Array();\n", "text/javascript"));
        m_server.ServeFile(Endpoint::WordtrackerFree, "/", {"seed=blue widgets"},
                           u"kind1/free_suggest_blue.html"_s);
        m_server.Serve(Endpoint::WordtrackerFree, "/", {"seed=red widgets"},
                       twtest::HttpReply::With(twtest::HttpReply::Delivery::CloseAtOnce));
        m_server.ServeFile(Endpoint::AskWeb, "/web", {"q=blue widgets"}, u"kind1/ask_blue.html"_s);
        m_server.ServeFile(Endpoint::AskWeb, "/web", {"q=red widgets"}, u"kind1/ask_red.html"_s);
        m_server.ServeFile(Endpoint::YahooMarketingSignIn, "/adui/signin/displaySignin.do", {},
                           u"kind1/marketing_signin.html"_s);
        m_server.ServeFile(Endpoint::YahooMarketingSignIn, "/adui/servlet/login", {},
                           u"kind1/marketing_signin.html"_s);
        m_server.Serve(Endpoint::YahooMarketing, "/adui/campaign/kwSuggestionAjaxProcessor.do", {},
                       twtest::HttpReply::Page(FixtureServer::ReadDataFile(u"kind1/marketing_suggest.xml"_s),
                                               "text/xml"));
        m_server.ServeFile(Endpoint::BingAdCenter, "/Default.aspx", {}, u"kind1/research_signin.html"_s);
        m_server.ServeFile(Endpoint::BingAdCenter, "/Research/KeywordResearcher.aspx", {},
                           u"kind1/research.html"_s);
        g_pCrawler->YahooMarket_user = u"ann"_s;
        g_pCrawler->MSNAdCenter_user = u"ann"_s;
    }

    CProject1* RunTwoSeeds() {
        auto* project = static_cast<CProject1*>(NewProject(1, u"blue widgets;red widgets;"_s));
        EXPECT_TRUE(project && TickUntil([&] { return project->State() == CKindRun::State::Done; }));
        return project;
    }
};

// Two seeds through every source, one of them failing for the second seed; the rows survive save and open
// and export as expected.
TEST_F(Project1EndToEnd, EverySourceMergedSavedOpenedAndExported) {
    CProject1* project = RunTwoSeeds();
    ASSERT_NE(project, nullptr);
    // The picture code is asked once and kept for the second seed.
    EXPECT_EQ(m_pictureAsks, 1);
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleKeywordTool), 3);
    EXPECT_EQ(m_server.CountRequests(Endpoint::BingAdCenter), 8);
    EXPECT_EQ(project->Bar().Done(), 10);
    EXPECT_EQ(project->Bar().Total(), 10);
    EXPECT_TRUE(project->Bar().ErrorText().startsWith(u"Free suggestions (red widgets): Receive error"_s))
        << project->Bar().ErrorText().toStdString();
    EXPECT_TRUE(project->m_hasResults);

    const QString trend = u"12 25 37 50 62 75 87 100 50 25 12 6"_s;
    const QStringList expected = {
        u"blue widgets | Keyword tool, Free suggestions | 12,100 | 0.88 | 1.25 | "_s + trend +
            u" | Broad, Exact"_s,
        u"widgets | Ask, Search Marketing, Keyword research | 6,000 | No Data | 0.95 | No Data | "_s,
        u"cheap widgets | Keyword tool, Ask, Search Marketing | 880 | 0.5 | 0.4 | No Data | Phrase"_s,
        u"blue widget parts | Free suggestions, Ask | 320 | No Data | No Data | No Data | "_s,
        u"red widget kits | Ask, Keyword research | 140 | No Data | 0.3 | No Data | "_s,
        u"blue widgets & <gadgets> | Free suggestions | 45 | No Data | No Data | No Data | "_s,
    };
    EXPECT_EQ(ReportRows(project->Report()), expected);
    // The sources filter finds a source wherever it stands in the list.
    const auto showSources = [](const QString& words) {
        return [words](CSkinListBox_FilterDlg& dlg) {
            dlg.m_enableCheck.m_checked = !words.isEmpty();
            dlg.m_edit1.SetText(words);
            skintest::ClickElement(dlg, dlg.m_ok);
        };
    };
    FilterColumn(project->Report(), CProject1_Rep::kSources, showSources(u"ask"_s));
    EXPECT_EQ(ReportRows(project->Report()),
              (QStringList{expected[1], expected[2], expected[3], expected[4]}));
    FilterColumn(project->Report(), CProject1_Rep::kSources, showSources(QString()));

    // Busy for the tick that ended the run, then free to save.
    Tick(1);
    const int requests = int(m_server.Requests().size());
    auto* opened = static_cast<CProject1*>(ExpectReopensAsShown(u"kind1.twpx"_s));
    ASSERT_NE(opened, nullptr);
    Tick(4);
    EXPECT_EQ(int(m_server.Requests().size()), requests) << "an opened project starts nothing by itself";
    EXPECT_EQ(opened->State(), CKindRun::State::Done);
    EXPECT_EQ(ReportRows(opened->Report()), expected);
    ExpectSameAsDataFile(ExportCurrent(u"kind1.csv"_s), u"kind1/expected.csv"_s);
    ExpectSameAsDataFile(ExportCurrent(u"kind1.htm"_s), u"kind1/expected.htm"_s);
}

// A service that cannot be reached from the start: its sources' cells stay without data, the error shows
// beside the progress bar, the other sources still run, and Stop gives back every download slot. Without
// their accounts the two signed-in services are not asked.
TEST_F(Project1EndToEnd, FailingServiceLeavesNoDataAndTheRunGoesOn) {
    m_server.Fail(Endpoint::GoogleKeywordTool);
    m_server.Serve(Endpoint::WordtrackerFree, "/", {"seed=red widgets"},
                   twtest::HttpReply::Page("<html></html>"));
    g_pCrawler->YahooMarket_user.clear();
    g_pCrawler->MSNAdCenter_user = QString::fromUtf16(kAccountNeverEntered);
    CProject1* project = RunTwoSeeds();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(m_pictureAsks, 0) << "no picture came, so none is shown";
    EXPECT_EQ(project->Bar().Total(), 6);
    EXPECT_EQ(m_server.CountRequests(Endpoint::YahooMarketingSignIn) +
                  m_server.CountRequests(Endpoint::BingAdCenter),
              0);
    EXPECT_TRUE(project->Bar().ErrorText().startsWith(u"Keyword tool (red widgets): "_s))
        << project->Bar().ErrorText().toStdString();
    const QStringList rows = ReportRows(project->Report());
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.filter(u"Keyword tool"_s).size(), 0);
    EXPECT_TRUE(rows.contains(u"blue widgets | Free suggestions | 1,500 | No Data | No Data | No Data | "_s))
        << rows.join(u"\n"_s).toStdString();

    // Started again and stopped at once: the run lets go of every slot it took.
    project->OnCommand(u"prj1_start"_s, 0, nullptr);
    Tick(1);
    EXPECT_GT(g_pCrawler->CountJobDownloaders(project->m_id), 0);
    project->OnCommand(u"prj1_stop"_s, 0, nullptr);
    // A slot whose exchange was under way is free once its worker dropped the job.
    EXPECT_TRUE(TickUntil([&] { return g_pCrawler->CountJobDownloaders(project->m_id) == 0; }, 5000));
    Tick(1);
    EXPECT_EQ(project->State(), CKindRun::State::Idle);
    EXPECT_EQ(g_pCrawler->CountJobDownloaders(project->m_id), 0);
    EXPECT_TRUE(project->CanSave());
}

// The report's keywords sent to kind 2 open the wizard on kind 2's page with them typed in; kinds 3 and 8 are
// offered the first keyword only.
TEST_F(Project1EndToEnd, SendToOpensTheWizardPresetForKind2) {
    CProject1* project = RunTwoSeeds();
    ASSERT_NE(project, nullptr);
    project->Report().SelectAllVisible();
    QString toKind2;
    QString toKind3;
    QString toKind8;
    for (const skin::ContextMenuItem& item : project->Report().ContextMenuItems()) {
        if (item.text == u"Send to Niche Lantern"_s)
            toKind2 = item.command;
        if (item.text == u"Send to Campaign Chronicle"_s)
            toKind3 = item.command;
        if (item.text == u"Send to Offer Compass"_s)
            toKind8 = item.command;
    }
    const QString keywords =
        u"blue widgets;widgets;cheap widgets;blue widget parts;red widget kits;blue widgets & <gadgets>;"_s;
    EXPECT_EQ(toKind2, u"new_project2"_s + keywords);
    EXPECT_EQ(toKind3, u"new_project3blue widgets;"_s);
    EXPECT_EQ(toKind8, u"new_project8blue widgets;"_s);

    QString typed;
    Window().script.Then(skintest::ModalScript::On<CNewProjectDlg>([&](CNewProjectDlg& wizard) {
        EXPECT_EQ(wizard.m_current, 1);
        ASSERT_NE(wizard.m_pFocus, nullptr);
        typed = wizard.m_pFocus.Get()->m_caption;
        skintest::ClickElement(wizard, wizard.m_startButton);
    }));
    Window().dlg.OnCommand(toKind2, 0);
    EXPECT_EQ(typed, keywords);
    auto* sent = dynamic_cast<CKeywordInputProject*>(Current());
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->m_kind, 2);
    EXPECT_EQ(sent->Input().Keywords(), CWizardKeywordInput::SplitKeywords(keywords));
}

} // namespace

namespace {

// Start on a finished project whose rows are not saved asks first: No keeps every row, Yes runs anew; a run
// that then finds nothing leaves the project with unsaved changes, so closing its tab still asks. Once
// saved, Start asks nothing.
TEST_F(Project1EndToEnd, StartOverUnsavedRowsAsksFirst) {
    const QString question = u"You will lose any unsaved results.\nAre you sure you want to continue?"_s;
    CProject1* project = RunTwoSeeds();
    ASSERT_NE(project, nullptr);
    Tick(1);
    const QStringList rows = ReportRows(project->Report());
    const int requests = int(m_server.Requests().size());
    skintest::ModalScript& script = Window().script;

    script.Then(skintest::ModalScript::Answer(skin::kResultNo));
    Window().dlg.OnCommand(u"prj1_start"_s, 0);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, question);
    Tick(3);
    EXPECT_EQ(project->State(), CKindRun::State::Done);
    EXPECT_EQ(int(m_server.Requests().size()), requests);
    EXPECT_EQ(ReportRows(project->Report()), rows);

    for (const Endpoint service :
         {Endpoint::GoogleKeywordTool, Endpoint::WordtrackerFree, Endpoint::AskWeb,
          Endpoint::YahooMarketingSignIn, Endpoint::YahooMarketing, Endpoint::BingAdCenter})
        m_server.Fail(service);
    script.Then(skintest::ModalScript::Answer(skin::kResultYes));
    Window().dlg.OnCommand(u"prj1_start"_s, 0);
    ASSERT_TRUE(TickUntil([&] { return project->State() == CKindRun::State::Done; }));
    Tick(1);
    EXPECT_TRUE(ReportRows(project->Report()).isEmpty())
        << ReportRows(project->Report()).join(u"\n"_s).toStdString();
    script.Then(skintest::ModalScript::Answer(skin::kResultNo));
    Window().dlg.OnCommand(u"close_project"_s, Window().dlg.m_curProject);
    ASSERT_EQ(script.messages.size(), 3u);
    EXPECT_EQ(
        script.messages[2].text,
        u"You will lose any unsaved results of \"Lexicon Tide\".\nAre you sure you want to close its tab?"_s)
        << "the old rows are gone unsaved";
    ASSERT_EQ(Current(), project);

    ASSERT_TRUE(SaveCurrent(u"empty.twpx"_s));
    Window().dlg.OnCommand(u"prj1_start"_s, 0);
    EXPECT_EQ(script.messages.size(), 3u);
    EXPECT_EQ(project->State(), CKindRun::State::Running);
}

} // namespace
