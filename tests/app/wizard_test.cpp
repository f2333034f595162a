#include "app/new_project_dlg.h"
#include "projects/keyword_input_project.h"
#include "skin/skin_constants.h"
#include "tests/app/app_test_support.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_clock.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using apptest::OpenMainWindow;
using skintest::ClickElement;
using skintest::ModalScript;

namespace {

ModalScript::Step InWizard(std::function<void(CNewProjectDlg&)> act) {
    return ModalScript::On<CNewProjectDlg>(std::move(act));
}

// The field with the keyboard focus: the page gives it to its first field.
CSkinElement& Focused(CNewProjectDlg& wizard) {
    CSkinElement* focus = wizard.m_pFocus;
    EXPECT_NE(focus, nullptr);
    return focus ? *focus : wizard.m_rootHolder;
}

QStringList KeywordsOf(const CProject& project) {
    const auto* keywords = dynamic_cast<const CKeywordInputProject*>(&project);
    return keywords ? keywords->Input().Keywords() : QStringList();
}

} // namespace

// Every kind from its button to a tab of its own (kind 5 has no page); a second kind-5 project is not made.
TEST(NewProjectWizard, EveryKindBecomesATabWithItsKeywords) {
    OpenMainWindow w;
    for (const int kind : {0, 1, 2, 3, 4, 5, 6, 7, 4}) {
        w.script.Then(InWizard([kind](CNewProjectDlg& wizard) {
            ClickElement(wizard, wizard.m_kindButtons[size_t(kind)]);
            if (wizard.Result() == 0) {
                CSkinElement& field = Focused(wizard);
                field.SetText(u"red shoes;blue shoes;"_s);
                ClickElement(wizard, wizard.m_startButton);
                // Kind 8's list of one refuses several keywords with a message and stays open.
                if (wizard.Result() == 0) {
                    field.SetText(u"red shoes"_s);
                    ClickElement(wizard, wizard.m_startButton);
                }
            }
        }));
        const size_t before = w.dlg.m_projects.size();
        w.dlg.OnCommand(u"new_project"_s, 0);
        if (before == 8)
            break;
        ASSERT_EQ(w.dlg.m_projects.size(), before + 1);
        EXPECT_EQ(w.dlg.m_projects.back()->m_kind, kind + 1);
        EXPECT_EQ(w.dlg.m_tabs.back()->m_caption, w.dlg.m_projects.back()->m_name);
    }
    EXPECT_EQ(w.dlg.m_projects.size(), 8u);
    EXPECT_EQ(w.dlg.m_curProject, 4) << "the open kind-5 project came forward";
    EXPECT_EQ(KeywordsOf(*w.dlg.m_projects[0]), (QStringList{u"red shoes"_s, u"blue shoes"_s}));
    EXPECT_EQ(KeywordsOf(*w.dlg.m_projects[2]), QStringList{u"red shoes"_s}) << "kind 3 takes one keyword";
    EXPECT_EQ(KeywordsOf(*w.dlg.m_projects[7]), QStringList{u"red shoes"_s});
    EXPECT_EQ(g_pCrawler->GetKeywordHistory(), (QStringList{u"red shoes"_s, u"blue shoes"_s}));
    ASSERT_EQ(w.script.messages.size(), 1u);
    EXPECT_EQ(w.script.messages[0].text, CWizardKeywordInput::kOneKeywordOnly);
}

// A kind button's tooltip goes when the kind's page opens, by a click or by its digit, whether it showed
// already or was still due: it must not stand over the page.
TEST(NewProjectWizard, AKindButtonsTooltipGoesWhenItsPageOpens) {
    OpenMainWindow w;
    twtest::TestClock clock({.monotonicMs = 1'000'000});
    w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
        // Tooltips show only in the active window; the test's screen has no window manager to say so.
        wizard.onActivate(true);
        const auto rest = [&](int ms) {
            clock.AdvanceMs(ms);
            wizard.onTimer(skin::kTickTimerId);
        };
        for (const bool shownFirst : {false, true}) {
            for (const bool byKey : {false, true}) {
                SCOPED_TRACE(std::string(shownFirst ? "shown" : "due") + (byKey ? ", key" : ", click"));
                const plat::Point p = skintest::Centre(wizard.m_kindButtons[1]);
                wizard.onMouseMove(p.x, p.y);
                if (shownFirst) {
                    rest(800);
                    ASSERT_NE(wizard.Tooltip(), nullptr);
                }
                if (byKey) {
                    wizard.onKeyDown('2', 0, false);
                    wizard.onKeyUp('2', 0, false);
                } else {
                    wizard.onLButtonDown(p.x, p.y);
                    wizard.onLButtonUp(p.x, p.y);
                }
                ASSERT_EQ(wizard.m_current, 1);
                rest(800);
                EXPECT_EQ(wizard.Tooltip(), nullptr);
                wizard.OnCommand(u"Default_cancel"_s, 0);
                ASSERT_EQ(wizard.m_current, -1);
                wizard.onMouseMove(1, 1);
            }
        }
        wizard.EndSkinDialog(skin::kResultCancel);
    }));
    w.dlg.OnCommand(u"new_project"_s, 0);
    EXPECT_TRUE(w.script.Done());
}

// START and Enter refuse an empty keyword with its message; Escape goes back to the list and then closes;
// digits choose only from the list. A cancelled wizard used up its eight ids.
TEST(NewProjectWizard, EmptyKeywordsAreRefusedAndKeysMoveBetweenListAndPage) {
    OpenMainWindow w;
    int firstId = 0;
    w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
        firstId = wizard.m_projects[0]->m_id;
        for (const int key : {'9', '0', '4', '2'})
            wizard.OnKeyPressed(key);
        ASSERT_EQ(wizard.m_current, 3);
        EXPECT_TRUE(wizard.m_backButton.m_visible && !wizard.m_cancelButton.m_visible);
        Focused(wizard).SetText(u"  ;  "_s);
        ClickElement(wizard, wizard.m_startButton);
        wizard.OnCommand(u"Default_ok"_s, 0);
        wizard.OnCommand(u"Default_cancel"_s, 0);
        EXPECT_EQ(wizard.m_current, -1);
        EXPECT_EQ(wizard.Result(), 0);
        wizard.OnCommand(u"Default_cancel"_s, 0);
        EXPECT_EQ(wizard.Result(), skin::kResultCancel);
    }));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"new_project"_s, 0);
    ASSERT_EQ(w.script.messages.size(), 2u);
    for (const skintest::SeenMessage& message : w.script.messages) {
        EXPECT_EQ(message.text, u"Please enter a keyword."_s);
        EXPECT_EQ(message.type, skin::kMessageInformation);
    }
    w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
        EXPECT_EQ(wizard.m_projects[0]->m_id, firstId + 8);
        wizard.EndSkinDialog(skin::kResultCancel);
    }));
    w.dlg.OnCommand(u"new_project"_s, 0);
    EXPECT_TRUE(w.dlg.m_projects.empty());
}

// A send-to pauses everything and shows the kind with its keywords and no way back to the list; accepting
// resumes, cancelling keeps the pause. Only the digits 1 to 8 preselect.
TEST(NewProjectWizard, SendToPreselectsTheKindWithItsKeywords) {
    OpenMainWindow w;
    const struct {
        QString command;
        int shown;
        QString text;
        bool accept;
    } cases[] = {{u"new_project4blue;red;"_s, 3, u"blue;red;"_s, true},
                 {u"new_project3green;grey;"_s, 2, u"green"_s, false},
                 {u"new_project9kw;"_s, -1, QString(), false},
                 {u"new_project0kw;"_s, -1, QString(), false}};
    for (const auto& c : cases) {
        w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
            EXPECT_TRUE(g_pCrawler->IsPaused());
            ASSERT_EQ(wizard.m_current, c.shown);
            if (c.shown < 0) {
                wizard.OnCommand(u"on_cancel"_s, 0);
                return;
            }
            EXPECT_FALSE(wizard.m_backButton.m_visible);
            EXPECT_TRUE(wizard.m_cancelButton.m_visible && wizard.m_startButton.m_visible);
            EXPECT_EQ(Focused(wizard).GetText(), c.text);
            wizard.OnCommand(c.accept ? u"on_ok"_s : u"Default_cancel"_s, 0);
        }));
        w.dlg.OnCommand(c.command, 0);
        EXPECT_EQ(g_pCrawler->IsPaused(), !c.accept) << c.command.toStdString();
    }
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(KeywordsOf(*w.dlg.m_projects[0]), (QStringList{u"blue"_s, u"red"_s}));
}

// The start-with-login switch runs kind 5 and minimises the window once, then is gone; the other switch
// preselects the sixth kind on every opening and stays.
TEST(NewProjectWizard, CommandLineSwitchesPreselect) {
    OpenMainWindow w;
    g_pCrawler->m_cmdLine = u"--GoProject4 --GoProject5 --GoProject4"_s;
    w.script.Then(InWizard([](CNewProjectDlg& wizard) { EXPECT_EQ(wizard.Result(), skin::kResultOk); }));
    w.dlg.onTimer(CMainDlg::kWizardTimer);
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_kind, 5);
    EXPECT_TRUE(skin::HostWindow(w.dlg).isMinimized() || skin::HostWindow(w.dlg).hasTrayIcon());
    EXPECT_EQ(g_pCrawler->m_cmdLine.trimmed(), u"--GoProject5"_s);
    w.dlg.OnCommand(u"Default_restore"_s, 0);
    for (int opening = 0; opening < 2; ++opening) {
        w.script.Then(InWizard([](CNewProjectDlg& wizard) {
            EXPECT_EQ(wizard.m_current, 5);
            wizard.OnCommand(u"Default_cancel"_s, 0);
        }));
        w.dlg.OnCommand(u"new_project"_s, 0);
    }
    EXPECT_TRUE(w.script.Done());
    EXPECT_FALSE(skin::HostWindow(w.dlg).isMinimized());
}

// Accepting the page of kinds 1, 2, 4 and 8 adds its keywords to the history (kind 8 takes one); kinds 6
// and 7 only offer the history in their list, and kind 3 has none.
TEST(NewProjectWizard, OnlyTheKeywordResearchKindsAndOfferSearchAddToTheHistory) {
    OpenMainWindow w;
    g_pCrawler->AddKeywordToHistory(u"kept"_s, false);
    for (const int kind : {1, 2, 3, 4, 6, 7, 8}) {
        const QString first = u"first %1"_s.arg(kind);
        int offered = 0;
        w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
            ClickElement(wizard, wizard.m_kindButtons[size_t(kind - 1)]);
            if (const auto* list = dynamic_cast<const CSkinDropList*>(&Focused(wizard)))
                offered = list->GetCount();
            // Kind 8 takes one keyword; the others a list.
            Focused(wizard).SetText(kind == 8 ? first : first + u";second;"_s);
            ClickElement(wizard, wizard.m_startButton);
        }));
        const QStringList before = g_pCrawler->GetKeywordHistory();
        w.dlg.OnCommand(u"new_project"_s, 0);
        // As the history adds a keyword: in front, an older entry equal to it ignoring case gone.
        QStringList expected = before;
        const auto add = [&](const QString& keyword) {
            expected.removeIf(
                [&](const QString& entry) { return entry.compare(keyword, Qt::CaseInsensitive) == 0; });
            expected.prepend(keyword);
        };
        if (kind == 1 || kind == 2 || kind == 4)
            add(u"second"_s);
        if (kind == 1 || kind == 2 || kind == 4 || kind == 8)
            add(first);
        EXPECT_EQ(g_pCrawler->GetKeywordHistory(), expected) << "kind " << kind;
        EXPECT_EQ(offered, kind == 3 ? 0 : before.size() + 1) << "kind " << kind << " offers the history";
    }
}

// Choosing "-- Clear history --" asks first. No: the history stays, the list loses its text and choice. Yes:
// the history is emptied and saved, the list refilled (empty). Typing never asks.
TEST(NewProjectWizard, ClearingTheHistoryAsksAndTheListAnswers) {
    OpenMainWindow w;
    g_pCrawler->AddKeywordToHistory(u"older"_s, false);
    g_pCrawler->AddKeywordToHistory(u"newer"_s, true);
    for (const int answer : {skin::kResultNo, skin::kResultYes}) {
        w.script.Then(InWizard([answer](CNewProjectDlg& wizard) {
            wizard.OnKeyPressed('8');
            const auto& list = static_cast<const CSkinDropList&>(Focused(wizard));
            ASSERT_EQ(list.GetItemText(0), u"-- Clear history --"_s);
            wizard.OnCommand(u"prj8_edit_keyword_typing"_s, 0);
            wizard.OnCommand(u"prj8_edit_keyword"_s, 0);
            EXPECT_EQ(list.GetText(), QString());
            EXPECT_EQ(list.GetCount(), answer == skin::kResultYes ? 0 : 3);
            EXPECT_EQ(list.GetCurSel(), -1);
            wizard.EndSkinDialog(skin::kResultCancel);
        }));
        w.script.Then(ModalScript::Answer(answer));
        w.dlg.OnCommand(u"new_project"_s, 0);
    }
    ASSERT_EQ(w.script.messages.size(), 2u);
    EXPECT_EQ(w.script.messages[0].text, u"Are you sure you want to clear all history?"_s);
    EXPECT_EQ(w.script.messages[0].type, skin::kMessageYesNo | skin::kMessageQuestion);
    CProjectCrawler reread(apptest::TemporaryFolders(w.crawler.root));
    reread.LoadSettings();
    EXPECT_TRUE(reread.GetKeywordHistory().isEmpty());
}

// Changing the kind swaps the page alone: the page shown goes, the other kind's page comes with its first
// field focused (the preset text only for the preselected kind), and the bottom buttons stay as they were.
// The same kind or one that does not exist changes nothing; from the list it is a plain choice.
TEST(NewProjectWizard, ChangingTheKindSwapsOnlyThePage) {
    OpenMainWindow w;
    size_t listChildren = 0;
    w.script.Then(InWizard([&](CNewProjectDlg& wizard) {
        listChildren = wizard.m_rootHolder.Children().size();
        wizard.OnCommand(u"change_project"_s, 1);
        ASSERT_EQ(wizard.m_current, 1);
        EXPECT_FALSE(wizard.m_kindButtons[0].m_visible) << "the list does not stay under the page";
        EXPECT_TRUE(wizard.m_backButton.m_visible && !wizard.m_cancelButton.m_visible);
        Focused(wizard).SetText(u"left behind"_s);
        for (const int other : {1, 8, -1})
            wizard.OnCommand(u"change_project"_s, other);
        EXPECT_EQ(Focused(wizard).GetText(), u"left behind"_s);
        wizard.OnCommand(u"change_project"_s, 2);
        ASSERT_EQ(wizard.m_current, 2);
        EXPECT_TRUE(Focused(wizard).GetText().isEmpty()) << "kind 3's own field";
        EXPECT_TRUE(wizard.m_backButton.m_visible && wizard.m_startButton.m_visible);
        EXPECT_FALSE(wizard.m_cancelButton.m_visible || wizard.m_kindButtons[2].m_visible);
        ClickElement(wizard, wizard.m_backButton);
        EXPECT_EQ(wizard.m_rootHolder.Children().size(), listChildren) << "no page was left behind";
        wizard.OnKeyPressed('1');
        wizard.OnCommand(u"change_project"_s, 2);
        Focused(wizard).SetText(u"green"_s);
        ClickElement(wizard, wizard.m_startButton);
    }));
    w.dlg.OnCommand(u"new_project"_s, 0);
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_kind, 3);
    EXPECT_EQ(KeywordsOf(*w.dlg.m_projects[0]), QStringList{u"green"_s});

    w.script.Then(InWizard([](CNewProjectDlg& wizard) {
        ASSERT_EQ(wizard.m_current, 3);
        wizard.OnCommand(u"change_project"_s, 0);
        ASSERT_EQ(wizard.m_current, 0);
        EXPECT_TRUE(Focused(wizard).GetText().isEmpty());
        EXPECT_TRUE(wizard.m_cancelButton.m_visible && wizard.m_startButton.m_visible);
        EXPECT_FALSE(wizard.m_backButton.m_visible);
        wizard.OnCommand(u"change_project"_s, 3);
        EXPECT_EQ(Focused(wizard).GetText(), u"blue;red;"_s) << "the preselected kind gets its text again";
        wizard.OnCommand(u"Default_cancel"_s, 0);
        EXPECT_EQ(wizard.Result(), skin::kResultCancel) << "with a preselection Escape still closes";
    }));
    w.dlg.OnCommand(u"new_project4blue;red;"_s, 0);
    EXPECT_TRUE(w.script.Done());
    EXPECT_EQ(w.dlg.m_projects.size(), 1u);
}
