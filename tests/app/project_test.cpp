#include "app/project.h"
#include "app/project_view_title.h"
#include "projects/project_factory.h"
#include "skin/skin_dlg.h"
#include "tests/app/app_test_support.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The view heading a kind put into the holder, if any.
CProjectViewTitle* ViewTitleIn(CSkinDlgHolder& holder) {
    for (const auto& child : holder.Children())
        if (child.element->m_className == "CProjectViewTitle"_L1)
            return static_cast<CProjectViewTitle*>(child.element);
    return nullptr;
}

} // namespace

TEST(ProjectKinds, EachKindBuildsItsViewInTheHolderAndLeavesNothingBehind) {
    for (const int outside : {0, 9, -1})
        EXPECT_EQ(NewProjectOfKind(outside, 1), nullptr) << outside;
    apptest::TestMainDlg owner;
    owner.Open();
    for (int kind = 1; kind <= 8; ++kind) {
        SCOPED_TRACE(kind);
        std::unique_ptr<CProject> project = NewProjectOfKind(kind, kind);
        ASSERT_NE(project, nullptr);
        EXPECT_EQ(project->m_kind, kind);
        project->InitInfo();
        project->CreateView(&owner.m_rootHolder, &owner.m_nextElementId);
        CProjectViewTitle* title = ViewTitleIn(owner.m_rootHolder);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->m_caption, project->m_name);
        project->ShowView(CProject::kHideView);
        EXPECT_FALSE(title->m_visible);
        project->ShowView(CProject::kShowView);
        EXPECT_TRUE(title->m_visible);
        project.reset();
        EXPECT_EQ(ViewTitleIn(owner.m_rootHolder), nullptr) << "a closed project leaves no element behind";
    }
    owner.Close();
}
