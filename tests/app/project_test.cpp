#include "app/project.h"
#include "app/project_view_title.h"
#include "projects/competition/project5.h"
#include "projects/competition/project6.h"
#include "projects/competition/project7.h"
#include "projects/project_factory.h"
#include "skin/skin_dlg.h"
#include "tests/app/app_test_support.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A bare project: what a kind gets from the base when it overrides nothing.
class BareProject : public CProject {
  public:
    explicit BareProject(int id) : CProject(id) {}
};

// The view heading a kind put into the holder, if any.
CProjectViewTitle* ViewTitleIn(CSkinDlgHolder& holder) {
    for (const auto& child : holder.Children()) {
        if (child.element->m_className == "CProjectViewTitle"_L1)
            return static_cast<CProjectViewTitle*>(child.element);
    }
    return nullptr;
}

const QStringList kKindNames = {u"Lexicon Tide"_s,       u"Niche Lantern"_s,  u"Campaign Chronicle"_s,
                                u"Rank Summit"_s,        u"Bid Watchtower"_s, u"Placement Scout"_s,
                                u"Partner Prospector"_s, u"Offer Compass"_s};

} // namespace

TEST(ProjectBase, AKindWithoutItsOwnRulesNeverLeavesTheWizardButCanBeOpenedSavedAndExported) {
    BareProject project(1);
    QString error;
    EXPECT_FALSE(project.ValidateWizardPage(error));
    EXPECT_EQ(error, u"Pure Virtual Call"_s);
    project.m_busy = true;
    EXPECT_TRUE(project.CanOpen());
    EXPECT_TRUE(project.CanSave());
    EXPECT_EQ(project.CanExport(0), 1);
}

TEST(ProjectKinds, TheFactoryMakesEachKindWithItsNumberNameAndDescription) {
    for (int kind = 1; kind <= 8; ++kind) {
        SCOPED_TRACE(kind);
        std::unique_ptr<CProject> project = NewProjectOfKind(kind, 100 + kind);
        ASSERT_NE(project, nullptr);
        EXPECT_EQ(project->m_kind, kind);
        EXPECT_EQ(project->m_id, 100 + kind);
        project->InitInfo();
        EXPECT_EQ(project->m_name, kKindNames[kind - 1]);
        EXPECT_FALSE(project->m_description.isEmpty());
        EXPECT_TRUE(project->CanOpen());
        EXPECT_EQ(project->CanExport(0), 1);
    }
    for (const int outside : {0, 9, -1})
        EXPECT_EQ(NewProjectOfKind(outside, 1), nullptr) << outside;
}

TEST(ProjectKinds, KindSevenIsBuiltOnKindSix) {
    EXPECT_NE(dynamic_cast<CProject6*>(NewProjectOfKind(7, 5).get()), nullptr);
    EXPECT_EQ(dynamic_cast<CProject7*>(NewProjectOfKind(6, 5).get()), nullptr);
}

// Kind 1 saves only while it gathers nothing; kind 8 only once its search reached the second step.
TEST(ProjectKinds, SavingRules) {
    for (int kind = 1; kind <= 8; ++kind) {
        SCOPED_TRACE(kind);
        std::unique_ptr<CProject> project = NewProjectOfKind(kind, 1);
        project->InitInfo();
        EXPECT_EQ(project->CanSave(), kind != 8);
        project->m_busy = true;
        EXPECT_EQ(project->CanSave(), kind != 1 && kind != 8);
    }
}

TEST(ProjectKinds, KindFiveEndsTheWizardAtOnce) {
    apptest::TestMainDlg owner;
    owner.Open();
    CProject5 project(3);
    project.InitInfo();
    project.CreateWizardPage(&owner.m_rootHolder, &owner.m_nextElementId, 10, 100, 50, 400, u"a;b;"_s);
    ASSERT_FALSE(owner.commands.isEmpty());
    EXPECT_EQ(owner.commands.back(), u"Default_ok"_s);
    QString error;
    EXPECT_TRUE(project.ValidateWizardPage(error));
    owner.Close();
}

TEST(ProjectKinds, CreateViewShowsTheNameAndShowViewTogglesIt) {
    apptest::TestMainDlg owner;
    owner.Open();
    for (int kind = 1; kind <= 8; ++kind) {
        SCOPED_TRACE(kind);
        std::unique_ptr<CProject> project = NewProjectOfKind(kind, kind);
        project->InitInfo();
        const unsigned idBefore = owner.m_nextElementId;
        project->CreateView(&owner.m_rootHolder, &owner.m_nextElementId);
        EXPECT_TRUE(project->m_viewCreated);
        EXPECT_GT(owner.m_nextElementId, idBefore) << "the view takes the holder's next ids";
        CProjectViewTitle* title = ViewTitleIn(owner.m_rootHolder);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->m_caption, kKindNames[kind - 1]);
        project->ShowView(CProject::kHideView);
        EXPECT_FALSE(title->m_visible);
        project->ShowView(CProject::kShowView);
        EXPECT_TRUE(title->m_visible);
        project.reset();
        EXPECT_EQ(ViewTitleIn(owner.m_rootHolder), nullptr) << "a closed project leaves no element behind";
    }
    owner.Close();
}

TEST(ProjectKinds, KindFivesViewLetsTheMainWindowMinimiseToTheTray) {
    apptest::TestMainDlg owner;
    owner.Open();
    ASSERT_FALSE(owner.m_minimizeToTray);
    std::unique_ptr<CProject> project = NewProjectOfKind(5, 1);
    project->InitInfo();
    project->CreateView(&owner.m_rootHolder, &owner.m_nextElementId);
    EXPECT_TRUE(owner.m_minimizeToTray);
    project.reset();
    owner.Close();
}
