#include "app/main_dlg.h"
#include "app/new_project_dlg.h"
#include "net/crawler.h"
#include "net/html_tags.h"
#include "projects/kind5/project5_list.h"
#include "projects/project_factory.h"
#include "skin/skin_dlg_holder.h"
#include "tests/projects/kind_test.h"
#include "tests/support/skin_test_support.h"

using namespace Qt::StringLiterals;

namespace {

class WizardRunStart : public projtest::KindTest {
  protected:
    // Whether a project of kind shows Stop on its bar: its run is under way.
    bool Running(int kind) {
        const QString stop = u"prj%1_stop"_s.arg(kind);
        for (const CSkinDlgHolder_Element& child : Window().dlg.m_rootHolder.Children())
            if (child.element->m_command == stop)
                return true;
        return false;
    }

    // A project of kind made as the open command makes one, from a file holding its keyword alone; its file
    // is read before its first step or after it.
    CProject* Open(int kind, bool loadBeforeFirstStep) {
        std::unique_ptr<CProject> made = NewProjectOfKind(kind, g_pCrawler->TakeProjectId());
        CProject* project = made.get();
        made->InitInfo();
        CDownloader_HTMLTags tree;
        tree.AddChild(u"Project%1"_s.arg(kind), false)
            ->AddChild(u"main_keyword"_s, false)
            ->SetText(u"red shoes;"_s);
        Window().dlg.AddProject(std::move(made));
        if (loadBeforeFirstStep)
            project->LoadXml(&tree);
        Tick(1);
        if (!loadBeforeFirstStep)
            project->LoadXml(&tree);
        Tick(3);
        return project;
    }

    // Chooses kind 5 in the wizard, which ends at once (the kind has no page).
    void ChooseMonitor() {
        Window().script.Then(skintest::ModalScript::On<CNewProjectDlg>(
            [](CNewProjectDlg& wizard) { skintest::ClickElement(wizard, wizard.m_kindButtons[4]); }));
        Window().dlg.OnCommand(u"new_project"_s, 0);
    }

    static void SaveMonitorList(bool running) {
        CProject5_List list;
        list.m_running = running;
        ASSERT_TRUE(list.SaveFile(g_pCrawler->GetDataDir() + u'/' + CProject5_List::kFileName));
    }
};

} // namespace

// Every kind that takes keywords starts a run the wizard made at its first step, not before and only once;
// an opened project waits for Start, whether its file is read before its first step or after it.
TEST_F(WizardRunStart, AWizardMadeRunStartsAtItsFirstStepAndAnOpenedOneNever) {
    for (const int kind : {1, 2, 3, 4, 6, 7, 8}) {
        ASSERT_NE(NewProject(kind, u"red shoes;"_s, false), nullptr) << "kind " << kind;
        EXPECT_FALSE(Running(kind)) << "kind " << kind << " started before its first step";
        Tick(1);
        EXPECT_TRUE(Running(kind)) << "kind " << kind << " made in the wizard did not start";
        Window().dlg.OnCommand(u"prj%1_stop"_s.arg(kind), 0);
        Tick(3);
        EXPECT_FALSE(Running(kind)) << "kind " << kind << " started again after Stop";
        CloseCurrent();

        for (const bool loadBeforeFirstStep : {true, false}) {
            const size_t requests = m_server.Requests().size();
            ASSERT_NE(Open(kind, loadBeforeFirstStep), nullptr);
            EXPECT_FALSE(Running(kind)) << "kind " << kind << " opened, read "
                                        << (loadBeforeFirstStep ? "before" : "after") << " its first step";
            EXPECT_EQ(m_server.Requests().size(), requests) << "kind " << kind;
            CloseCurrent();
        }
    }
}

// The monitoring kind follows its list's saved running flag, however it was made.
TEST_F(WizardRunStart, TheMonitorResumesOnlyAListSavedAsRunning) {
    for (const bool running : {true, false}) {
        SaveMonitorList(running);
        ChooseMonitor();
        ASSERT_EQ(Window().dlg.FindProjectOfKind(5), int(Window().dlg.m_projects.size()) - 1);
        Tick(3);
        EXPECT_EQ(Running(5), running);
        CloseCurrent();
    }
}
