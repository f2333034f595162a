#include "app/new_project_dlg.h"
#include "platform/application.h"
#include "platform/keys.h"
#include "projects/keyword_input_project.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_popup.h"
#include "tests/app/app_test_support.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using apptest::ClickElement;
using apptest::ModalScript;
using apptest::OpenMainWindow;
using Step = ModalScript::Step;

namespace {

const QString kKindNames[] = {u"Lexicon Tide"_s,       u"Niche Lantern"_s,  u"Campaign Chronicle"_s,
                              u"Rank Summit"_s,        u"Bid Watchtower"_s, u"Placement Scout"_s,
                              u"Partner Prospector"_s, u"Offer Compass"_s};

Step InWizard(std::function<void(CNewProjectDlg&)> act) {
    return ModalScript::On<CNewProjectDlg>(std::move(act));
}

// Types into the field that has the keyboard focus, as the page gave it its first field.
void Type(CNewProjectDlg& wizard, const QString& text) {
    CSkinElement* focus = wizard.m_pFocus;
    ASSERT_NE(focus, nullptr) << "the page's first field has the focus";
    focus->SetText(text);
}

// Picks the kind by its button, types the keywords (kinds with a page) and presses START.
Step CreateKind(int index, const QString& keywords) {
    return InWizard([=](CNewProjectDlg& wizard) {
        ClickElement(wizard, wizard.m_kindButtons[size_t(index)]);
        if (wizard.Result() != 0)
            return;
        Type(wizard, keywords);
        ClickElement(wizard, wizard.m_startButton);
    });
}

QStringList KeywordsOf(const CProject& project) {
    const auto* keywords = dynamic_cast<const CKeywordInputProject*>(&project);
    return keywords ? keywords->Input().Keywords() : QStringList();
}

} // namespace

// Every kind from the list to a tab of its own; a second kind-5 project is not made, its tab comes forward.
TEST(NewProjectWizard, EveryKindBecomesATabWithItsKeywords) {
    OpenMainWindow w;
    for (int kind = 0; kind < 8; ++kind) {
        w.script.Then(CreateKind(kind, u"red shoes;blue shoes;"_s));
        w.dlg.OnCommand(u"new_project"_s, 0);
        ASSERT_TRUE(w.script.Done());
        ASSERT_EQ(w.dlg.m_projects.size(), size_t(kind + 1)) << kind;
        const CProject& project = *w.dlg.m_projects.back();
        EXPECT_EQ(project.m_kind, kind + 1);
        EXPECT_EQ(w.dlg.m_tabs.back()->m_caption, kKindNames[kind]);
        EXPECT_TRUE(project.m_viewCreated);
        EXPECT_EQ(w.dlg.m_curProject, kind);
    }
    EXPECT_EQ(KeywordsOf(*w.dlg.m_projects[0]), (QStringList{u"red shoes"_s, u"blue shoes"_s}));
    EXPECT_EQ(KeywordsOf(*w.dlg.m_projects[2]), QStringList{u"red shoes"_s}) << "kind 3 takes one keyword";
    EXPECT_EQ(g_pCrawler->GetKeywordHistory(), (QStringList{u"red shoes"_s, u"blue shoes"_s}));
    EXPECT_TRUE(w.script.messages.empty());

    w.script.Then(CreateKind(4, QString()));
    w.dlg.OnCommand(u"new_project"_s, 0);
    EXPECT_EQ(w.dlg.m_projects.size(), 8u) << "only one kind-5 project";
    EXPECT_EQ(w.dlg.m_curProject, 4);
}

// START and Enter with an empty keyword show the kind's message and keep the page; Escape leaves the page for
// the list, and on the list ends the wizard; digits choose a kind only from the list.
TEST(NewProjectWizard, EmptyKeywordsAreRefusedAndKeysMoveBetweenListAndPage) {
    OpenMainWindow w;
    int firstId = 0;
    w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
        firstId = wizard.m_projects[0]->m_id;
        wizard.OnKeyPressed('9');
        wizard.OnKeyPressed('0');
        EXPECT_EQ(wizard.m_current, -1);
        wizard.OnKeyPressed('4');
        ASSERT_EQ(wizard.m_current, 3);
        EXPECT_FALSE(wizard.m_kindButtons[0].m_visible);
        EXPECT_TRUE(wizard.m_backButton.m_visible && wizard.m_startButton.m_visible);
        EXPECT_FALSE(wizard.m_cancelButton.m_visible);
        wizard.OnKeyPressed('2');
        EXPECT_EQ(wizard.m_current, 3) << "digits only act on the list";
        Type(wizard, u"  ;  "_s);
        ClickElement(wizard, wizard.m_startButton);
        wizard.OnCommand(u"Default_ok"_s, 0);
        EXPECT_EQ(wizard.m_current, 3);
        EXPECT_EQ(wizard.Result(), 0);
        wizard.OnCommand(u"Default_cancel"_s, 0);
        EXPECT_EQ(wizard.m_current, -1);
        EXPECT_TRUE(wizard.m_kindButtons[0].m_visible && wizard.m_cancelButton.m_visible);
        EXPECT_EQ(wizard.Result(), 0);
        wizard.OnCommand(u"Default_cancel"_s, 0);
        EXPECT_EQ(wizard.Result(), skin::kResultCancel);
    }));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"new_project"_s, 0);
    ASSERT_TRUE(w.script.Done());
    ASSERT_EQ(w.script.messages.size(), 2u);
    for (const apptest::SeenMessage& message : w.script.messages) {
        EXPECT_EQ(message.text, u"Please enter a keyword."_s);
        EXPECT_EQ(message.type, skin::kMessageInformation);
    }
    EXPECT_TRUE(w.dlg.m_projects.empty());

    // The cancelled wizard used up its eight ids.
    w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
        EXPECT_EQ(wizard.m_projects[0]->m_id, firstId + 8);
        wizard.OnCommand(u"Default_close"_s, 0);
    }));
    w.dlg.OnCommand(u"new_project"_s, 0);
    EXPECT_TRUE(w.script.Done());
}

// A send-to pauses everything, opens the kind with the keywords and no way back to the list; cancelling
// keeps the pause, accepting resumes. Only the digits 1 to 8 preselect.
TEST(NewProjectWizard, SendToPreselectsTheKindWithItsKeywords) {
    OpenMainWindow w;
    w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
        EXPECT_TRUE(g_pCrawler->IsPaused());
        ASSERT_EQ(wizard.m_current, 3);
        EXPECT_FALSE(wizard.m_backButton.m_visible);
        EXPECT_TRUE(wizard.m_cancelButton.m_visible && wizard.m_startButton.m_visible);
        EXPECT_EQ(wizard.m_cancelButton.m_x + wizard.m_cancelButton.m_width + 15, wizard.m_startButton.m_x);
        CSkinElement* field = wizard.m_pFocus;
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->GetText(), u"blue;red;"_s);
        ClickElement(wizard, wizard.m_startButton);
    }));
    w.dlg.OnCommand(u"new_project4blue;red;"_s, 0);
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_kind, 4);
    EXPECT_EQ(KeywordsOf(*w.dlg.m_projects[0]), (QStringList{u"blue"_s, u"red"_s}));
    EXPECT_FALSE(g_pCrawler->IsPaused());
    EXPECT_TRUE(w.dlg.m_btnPause.m_visible);

    w.script.Then(InWizard([](CNewProjectDlg& wizard) {
        ASSERT_EQ(wizard.m_current, 2);
        CSkinElement* field = wizard.m_pFocus;
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->GetText(), u"green"_s) << "kind 3 takes the first keyword";
        wizard.OnCommand(u"Default_cancel"_s, 0);
        EXPECT_EQ(wizard.Result(), skin::kResultCancel) << "with a preselection Escape closes";
    }));
    w.dlg.OnCommand(u"new_project3green;grey;"_s, 0);
    EXPECT_TRUE(g_pCrawler->IsPaused()) << "the pause stays after a cancelled send-to";
    EXPECT_EQ(w.dlg.m_projects.size(), 1u);

    for (const QString& command : {u"new_project9kw;"_s, u"new_project0kw;"_s, u"new_projectxkw;"_s}) {
        int shown = -2;
        w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
            shown = wizard.m_current;
            wizard.OnCommand(u"on_cancel"_s, 0);
        }));
        w.dlg.OnCommand(command, 0);
        EXPECT_EQ(shown, -1) << command.toStdString();
    }
}

// The start-with-login switch runs kind 5 and minimises the window once, then is gone; the other switch
// preselects the sixth kind on every opening and stays.
TEST(NewProjectWizard, CommandLineSwitchesPreselect) {
    OpenMainWindow w;
    g_pCrawler->m_cmdLine = u"--GoProject4 --GoProject4"_s;
    w.script.Then(InWizard([](CNewProjectDlg& wizard) { EXPECT_EQ(wizard.Result(), skin::kResultOk); }));
    w.dlg.onTimer(CMainDlg::kWizardTimer);
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_kind, 5);
    EXPECT_TRUE(w.dlg.isMinimized() || w.dlg.hasTrayIcon());
    EXPECT_FALSE(g_pCrawler->m_cmdLine.contains(u"--GoProject4"_s));
    w.dlg.OnCommand(u"Default_restore"_s, 0);

    g_pCrawler->m_cmdLine = u"--GoProject5"_s;
    for (int opening = 0; opening < 2; ++opening) {
        w.script.Then(InWizard([](CNewProjectDlg& wizard) {
            EXPECT_EQ(wizard.m_current, 5);
            Type(wizard, u"kw"_s);
            wizard.OnCommand(u"on_ok"_s, 0);
        }));
        w.dlg.OnCommand(u"new_project"_s, 0);
    }
    EXPECT_EQ(w.dlg.m_projects.size(), 3u);
    EXPECT_EQ(w.dlg.m_projects[2]->m_kind, 6);
    EXPECT_EQ(g_pCrawler->m_cmdLine, u"--GoProject5"_s);
    EXPECT_FALSE(w.dlg.isMinimized());
}

// "-- Clear history --" asks first: Yes empties and saves the history and the list refills empty; No leaves
// the history and empties the list's text. The kind hears of it either way, the list in both cases without
// text.
TEST(NewProjectWizard, ClearingTheHistoryAsksAndTheListAnswers) {
    OpenMainWindow w;
    g_pCrawler->AddKeywordToHistory(u"older"_s, false);
    g_pCrawler->AddKeywordToHistory(u"newer"_s, true);
    for (const int answer : {skin::kResultNo, skin::kResultYes}) {
        const auto* list = static_cast<const CSkinDropList*>(nullptr);
        w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
            wizard.OnKeyPressed('8');
            const auto* page = dynamic_cast<CKeywordInputProject*>(wizard.m_projects[7].get());
            ASSERT_NE(page, nullptr);
            list = &page->Input().List();
            ASSERT_EQ(list->GetCount(), 3);
            EXPECT_EQ(list->GetItemText(0), u"-- Clear history --"_s);
            wizard.OnCommand(u"prj8_edit_keyword"_s, 0);
            EXPECT_EQ(list->GetText(), QString());
            EXPECT_EQ(list->GetCount(), answer == skin::kResultYes ? 0 : 3);
            EXPECT_EQ(list->GetCurSel(), -1);
            wizard.OnCommand(u"prj8_edit_keyword_typing"_s, 0);
            wizard.OnCommand(u"on_cancel"_s, 0);
            wizard.OnCommand(u"on_cancel"_s, 0);
        }));
        w.script.Then(ModalScript::Answer(answer));
        w.dlg.OnCommand(u"new_project"_s, 0);
        ASSERT_TRUE(w.script.Done());
        ASSERT_EQ(w.script.messages.size(), 1u) << "typing never asks";
        EXPECT_EQ(w.script.messages[0].text, u"Are you sure you want to clear all history?"_s);
        EXPECT_EQ(w.script.messages[0].type, skin::kMessageYesNo | skin::kMessageQuestion);
        w.script.messages.clear();
    }
    EXPECT_TRUE(g_pCrawler->GetKeywordHistory().isEmpty());
    CProjectCrawler reread(apptest::TemporaryFolders(w.crawler.root));
    reread.Init();
    EXPECT_TRUE(reread.GetKeywordHistory().isEmpty()) << "the cleared history was saved";
    reread.Shutdown();
}

// The kind list and kind 4's page, written to renders/wizard.png and renders/wizard-kind4.png to be looked
// at: the separator stands between the rows only on the list; the page shows its kind's picture.
TEST(NewProjectWizardRender, KindListAndPage) {
    OpenMainWindow w;
    w.script.Then(InWizard([](CNewProjectDlg& wizard) {
        QDir().mkpath(QStringLiteral(TW_APP_RENDER_DIR));
        const plat::DeviceContext& dc = wizard.backBuffer();
        const plat::ColorRef line = plat::rgb(212, 222, 229);
        const int separatorX = wizard.m_width / 2;
        // The window is shown: let the platform deliver that before painting.
        plat::Application::processEvents();
        wizard.RedrawNow();
        EXPECT_TRUE(wizard.widget()->grab().save(QStringLiteral(TW_APP_RENDER_DIR "/wizard.png")));
        EXPECT_EQ(dc.getPixel(separatorX, 236), line);
        EXPECT_EQ(dc.getPixel(wizard.m_width / 2, wizard.m_height - 55), line);

        wizard.OnKeyPressed('4');
        Type(wizard, u"blue widgets;red widgets;"_s);
        wizard.RedrawNow();
        // The grab holds the native editing child over the field, with the typed keywords.
        EXPECT_TRUE(wizard.widget()->grab().save(QStringLiteral(TW_APP_RENDER_DIR "/wizard-kind4.png")));
        EXPECT_NE(dc.getPixel(separatorX, 236), line);
        const plat::Rect picture = skin::AtlasRect("wizard.kind4");
        int same = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const plat::ColorRef atlas = wizard.m_pAtlasDC->getPixel(picture.left + 60, picture.top + y);
            same += atlas != 0xFF00FF && dc.getPixel(30 + 60, 60 + y) == atlas;
        }
        EXPECT_GT(same, picture.height() / 2) << "the kind's picture beside its page";
        wizard.OnCommand(u"on_cancel"_s, 0);
        wizard.OnCommand(u"on_cancel"_s, 0);
    }));
    w.dlg.OnCommand(u"new_project"_s, 0);
    EXPECT_TRUE(w.script.Done());
}
