#include "app/main_dlg.h"
#include "tests/app/app_test_support.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using apptest::OpenMainWindow;
using apptest::TestProject;

TEST(ProjectTick, EveryProjectStepsOnceInTabOrderUnderItsOwnJob) {
    OpenMainWindow w;
    TestProject* a = w.dlg.AddTestProject(7);
    TestProject* b = w.dlg.AddTestProject(9);
    b->m_paused = true;
    std::vector<int> order;
    a->duringStep = [&] { order.push_back(7); };
    b->duringStep = [&] { order.push_back(9); };

    w.dlg.ProjectTick();
    w.dlg.onTimer(CMainDlg::kProjectTimer);
    EXPECT_EQ(order, (std::vector<int>{7, 9, 7, 9})) << "the timer runs the tick";
    EXPECT_EQ(a->steps[0].currentJob, 7);
    EXPECT_FALSE(a->steps[0].paused);
    EXPECT_EQ(b->steps[0].currentJob, 9);
    EXPECT_TRUE(b->steps[0].paused) << "a paused project's flag is copied into the crawler";
    EXPECT_FALSE(a->steps[0].tickTimerRunning) << "the tick never re-enters while a step runs";
    EXPECT_EQ(g_pCrawler->GetCurrentJob(), -1);
    EXPECT_FALSE(g_pCrawler->IsPaused()) << "the global pause is restored after the projects' own flags";
    EXPECT_TRUE(skin::HostWindow(w.dlg).hasTimer(CMainDlg::kProjectTimer));
}

TEST(ProjectTick, TheGlobalPauseSkipsStepsAndAPausedProjectStepsWithoutDownloaders) {
    OpenMainWindow w;
    TestProject* a = w.dlg.AddTestProject(3);
    a->takeDownloader = true;
    w.dlg.OnCommand(u"pause"_s, 0);
    w.dlg.ProjectTick();
    EXPECT_TRUE(a->steps.empty());
    EXPECT_TRUE(g_pCrawler->IsPaused());
    EXPECT_TRUE(skin::HostWindow(w.dlg).hasTimer(CMainDlg::kProjectTimer));
    w.dlg.OnCommand(u"resume"_s, 0);

    w.dlg.OnCommand(u"pause_project"_s, 0);
    w.dlg.ProjectTick();
    EXPECT_EQ(a->steps.size(), 1u);
    EXPECT_EQ(a->held, nullptr);
    EXPECT_TRUE(a->m_busy) << "it asked for one";
}

TEST(ProjectTick, WithNoProjectItOnlyGrowsThePoolToTheThreadCountPlusFour) {
    OpenMainWindow w;
    g_pCrawler->allowMaxThreads = 5;
    w.dlg.ProjectTick();
    w.dlg.ProjectTick();
    EXPECT_EQ(g_pCrawler->GetDownloaders().size(), 9u);
    EXPECT_TRUE(skin::HostWindow(w.dlg).hasTimer(CMainDlg::kProjectTimer));
}

TEST(ProjectTick, ATabTurnsBusyWhileItsProjectHoldsADownloader) {
    OpenMainWindow w;
    TestProject* idle = w.dlg.AddTestProject(1);
    TestProject* worker = w.dlg.AddTestProject(2);
    worker->takeDownloader = true;

    w.dlg.ProjectTick();
    ASSERT_NE(worker->held, nullptr);
    EXPECT_EQ(worker->held->m_jobId.load(), 2);
    EXPECT_TRUE(worker->m_busy);
    EXPECT_TRUE(w.dlg.m_tabs[1]->m_frames.Running());
    EXPECT_FALSE(idle->m_busy);
    EXPECT_FALSE(w.dlg.m_tabs[0]->m_frames.Running());

    worker->takeDownloader = false;
    worker->releaseDownloader = true;
    w.dlg.ProjectTick();
    EXPECT_TRUE(worker->m_busy) << "it held one when the step began";
    w.dlg.ProjectTick();
    EXPECT_FALSE(worker->m_busy);
    EXPECT_FALSE(w.dlg.m_tabs[1]->m_frames.Running());
}

TEST(ProjectTick, AStepThatClosesProjectsLeavesTheTickSound) {
    OpenMainWindow w;
    TestProject* a = w.dlg.AddTestProject(1);
    bool bGone = false;
    w.dlg.AddTestProject(2)->destroyed = &bGone;
    a->duringStep = [&] { w.dlg.OnCommand(u"close_project"_s, 1); };
    w.dlg.ProjectTick();
    EXPECT_TRUE(bGone);
    EXPECT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(g_pCrawler->GetCurrentJob(), -1);
}
