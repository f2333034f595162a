#include "app/new_project_dlg.h"
#include "core/headless_platform_services.h"
#include "net/crawler.h"
#include "projects/kind8/project8.h"
#include "skin/skin_constants.h"
#include "skin/skin_drop_list.h"
#include "tests/projects/kind_test.h"
#include "tests/support/qstring_printer.h"
#include "tests/support/skin_test_support.h"

using namespace Qt::StringLiterals;

namespace {

class OfferCompass : public projtest::KindTest {
  protected:
    void SetUp() override {
        KindTest::SetUp();
        DefaultPlatformServices().Clear();
        m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"q=widgets affiliate program"},
                           u"kind8/google_affiliate.html"_s);
        m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"q=widgets CPA offer"},
                           u"kind8/google_cpa.html"_s);
        m_server.ServeFile(Endpoint::BingWeb, "/search", {"q=widgets affiliate program"},
                           u"kind8/bing_affiliate.html"_s);
        // The engine fails for the second query.
        m_server.Serve(Endpoint::BingWeb, "/search", {"q=widgets CPA offer"},
                       twtest::HttpReply::With(twtest::HttpReply::Delivery::CloseAtOnce));
        m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=widgets affiliate program"},
                           u"kind8/yahoo_affiliate.html"_s);
        m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=widgets CPA offer"}, u"kind8/yahoo_cpa.html"_s);
    }

    CProject8* Compass() { return dynamic_cast<CProject8*>(Current()); }
};

} // namespace

// The search from the wizard: every engine answers the affiliate query before the CPA query is asked, saving
// waits for that second step, a failing engine leaves its error and the rest of the results, and the results
// survive save and open and export as expected. The link labels open each engine's search in the browser.
TEST_F(OfferCompass, SearchesBothQueriesSavesAtTheSecondStepAndExports) {
    ASSERT_NE(NewProject(8, u"widgets;"_s), nullptr);
    CProject8* project = Compass();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->SearchStep(), 1);
    EXPECT_FALSE(project->CanSave());
    const size_t messages = Window().script.messages.size();
    Window().dlg.OnCommand(u"save"_s, 0);
    EXPECT_EQ(Window().script.messages.size(), messages + 1) << "saving before the second step is refused";

    ASSERT_TRUE(TickUntil([&] { return project->SearchStep() == CProject8::kSearchDone; }));
    EXPECT_TRUE(project->CanSave());
    EXPECT_FALSE(project->m_page.m_bar.IsRunning());
    EXPECT_EQ(project->m_page.m_bar.Done(), 6);
    EXPECT_EQ(project->m_page.m_bar.ErrorText(),
              u"Bing (widgets CPA offer): Receive error: the server closed the connection without a reply"_s);
    std::vector<std::string> queries;
    for (const twtest::RecordedRequest& request : m_server.Requests())
        queries.push_back(request.target.find("CPA") != std::string::npos ? "cpa" : "affiliate");
    EXPECT_EQ(queries,
              (std::vector<std::string>{"affiliate", "affiliate", "affiliate", "cpa", "cpa", "cpa"}));

    for (int i = 0; i < 3; ++i)
        skintest::ClickElement(Window().dlg, project->m_links[i]);
    const QStringList opened = DefaultPlatformServices().OpenedUrls();
    ASSERT_EQ(opened.size(), 3);
    EXPECT_TRUE(opened[0].contains(u"/google/search?"_s) &&
                opened[0].contains(u"q=widgets%20affiliate%20program"_s))
        << opened[0].toStdString();
    EXPECT_TRUE(opened[1].contains(u"/bing/search?"_s)) << opened[1].toStdString();
    EXPECT_TRUE(opened[2].contains(u"/yahoo/search?"_s)) << opened[2].toStdString();

    // Copy from the report's menu puts the selected rows on the clipboard.
    project->m_rep1.Rebuild();
    project->m_rep1.SelectRange(1, 1);
    Window().dlg.OnCommand(u"prj8_copy"_s, 0);
    EXPECT_EQ(DefaultPlatformServices().CopiedTexts(),
              QStringList{u"GadgetNet Affiliates\thttp://gadgetnet.example/affiliates\t"
                          "Monthly payouts for widget sites.\tGoogle\t2\r\n"_s});

    const QByteArray csv = ExportCurrent(u"offers.csv"_s);
    ExpectSameAsDataFile(csv, u"kind8/export.csv"_s);
    ExpectSameAsDataFile(ExportCurrent(u"offers.htm"_s), u"kind8/export.htm"_s);

    const size_t requests = m_server.Requests().size();
    ASSERT_NE(ExpectReopensAsShown(u"offers.twpx"_s), nullptr);
    project = Compass();
    ASSERT_NE(project, nullptr);
    Tick(5);
    EXPECT_EQ(m_server.Requests().size(), requests) << "an opened project waits for Start";
    EXPECT_EQ(project->Keyword(), u"widgets"_s);
    EXPECT_TRUE(project->CanSave());
    EXPECT_EQ(ExportCurrent(u"reopened.csv"_s), csv);
}

// The page takes one keyword: several typed are refused with a message rather than the first searched and
// the rest dropped, and the history's list offers no entry with ";" (older settings files hold such): one
// keyword written "kw;" is offered as the keyword, once, and an entry of several not at all. Sent from
// another report, the first keyword is taken; the keyword searched alone goes into the history.
TEST_F(OfferCompass, TakesOneKeyword) {
    g_pCrawler->ClearKeywordHistory();
    g_pCrawler->AddKeywordToHistory(u"red shoes;blue shoes;"_s, false);
    g_pCrawler->AddKeywordToHistory(u"Gadgets;"_s, false);
    g_pCrawler->AddKeywordToHistory(u"widgets;"_s, false);
    g_pCrawler->AddKeywordToHistory(u"gadgets"_s, false);
    QStringList offered;
    const size_t messages = Window().script.messages.size();
    Window().script.Then(skintest::ModalScript::On<CNewProjectDlg>([&](CNewProjectDlg& wizard) {
        skintest::ClickElement(wizard, wizard.m_kindButtons[7]);
        auto* list = dynamic_cast<CSkinDropList*>(wizard.m_pFocus.Get());
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->GetCount(); ++i)
            offered.append(list->GetItemText(i));
        list->SetText(u"widgets;gadgets;"_s);
        skintest::ClickElement(wizard, wizard.m_startButton);
        EXPECT_EQ(wizard.Result(), 0) << "several keywords keep the wizard open";
        list->SetText(u"widgets"_s);
        skintest::ClickElement(wizard, wizard.m_startButton);
    }));
    Window().dlg.OnCommand(u"new_project"_s, 0);
    EXPECT_EQ(offered, (QStringList{u"-- Clear history --"_s, u"gadgets"_s, u"widgets"_s}));
    ASSERT_EQ(Window().script.messages.size(), messages + 1);
    EXPECT_EQ(Window().script.messages.back().text, CWizardKeywordInput::kOneKeywordOnly);
    CProject8* project = Compass();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->Keyword(), u"widgets"_s);
    EXPECT_EQ(project->Input().Keywords(), QStringList{u"widgets"_s});
    EXPECT_EQ(g_pCrawler->GetKeywordHistory().value(0), u"widgets"_s);
    EXPECT_EQ(projtest::PageShown(Window().dlg).filter(u"CSkinLabel: widgets"_s).size(), 1);

    QString typed;
    Window().script.Then(skintest::ModalScript::On<CNewProjectDlg>([&](CNewProjectDlg& wizard) {
        ASSERT_NE(wizard.m_pFocus, nullptr);
        typed = wizard.m_pFocus.Get()->GetText();
        skintest::ClickElement(wizard, wizard.m_startButton);
    }));
    Window().dlg.OnCommand(u"new_project8red widgets;blue widgets;"_s, 0);
    EXPECT_EQ(typed, u"red widgets"_s);
    ASSERT_NE(Compass(), nullptr);
    EXPECT_EQ(Compass()->Keyword(), u"red widgets"_s);
}

// Start on a finished search whose results are not saved asks first: No keeps them; once saved, Start
// searches anew without a question.
TEST_F(OfferCompass, StartOverUnsavedResultsAsksFirst) {
    ASSERT_NE(NewProject(8, u"widgets;"_s), nullptr);
    CProject8* project = Compass();
    ASSERT_TRUE(TickUntil([&] { return project->SearchStep() == CProject8::kSearchDone; }));
    const size_t results = project->Results().size();
    ASSERT_GT(results, 0u);
    Window().script.Then(skintest::ModalScript::Answer(skin::kResultNo));
    Window().dlg.OnCommand(u"prj8_start"_s, 0);
    ASSERT_EQ(Window().script.messages.size(), 1u);
    EXPECT_EQ(Window().script.messages[0].text,
              u"You will lose any unsaved results.\nAre you sure you want to continue?"_s);
    EXPECT_EQ(project->SearchStep(), CProject8::kSearchDone);
    EXPECT_EQ(project->Results().size(), results);

    ASSERT_TRUE(SaveCurrent(u"offers.twpx"_s));
    Window().dlg.OnCommand(u"prj8_start"_s, 0);
    EXPECT_EQ(Window().script.messages.size(), 1u);
    EXPECT_EQ(project->SearchStep(), 1);
    EXPECT_TRUE(project->Results().empty());
}
