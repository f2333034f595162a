#include "app/main_dlg.h"
#include "platform/application.h"
#include "projects/project_factory.h"
#include "tests/app/app_test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

plat::ColorRef PixelAt(CMainDlg& dlg, int x, int y) {
    return dlg.backBuffer().getPixel(x, y);
}

} // namespace

// The main window with three projects, the second busy, written to renders/main_window.png to be looked at.
TEST(MainWindowRender, ToolbarBandTabStripAndProjectFrame) {
    apptest::OpenMainWindow window;
    apptest::TestMainDlg& dlg = window.dlg;
    for (const int kind : {1, 4, 5}) {
        std::unique_ptr<CProject> project = NewProjectOfKind(kind, g_pCrawler->TakeProjectId());
        project->InitInfo();
        dlg.AddProject(std::move(project));
    }
    dlg.OnCommand(u"show_project"_s, 1);
    dlg.m_tabs[1]->SetAnimation(467, 122, 16, 16, true, 8, false);
    // The window is shown and maximised: let the platform deliver that before painting.
    plat::Application::processEvents();
    dlg.RedrawNow();
    const int w = dlg.m_width;
    const int h = dlg.m_height;
    ASSERT_EQ(dlg.backBuffer().width(), w);

    QDir().mkpath(QStringLiteral(TW_APP_RENDER_DIR));
    const QString path = QStringLiteral(TW_APP_RENDER_DIR) + u"/main_window.png"_s;
    ASSERT_TRUE(dlg.backBuffer().saveImage(path));

    // The toolbar band between the Options and Help buttons, and its bottom line.
    EXPECT_EQ(PixelAt(dlg, 700, 40), plat::rgb(243, 250, 255));
    EXPECT_EQ(PixelAt(dlg, w - 100, 90), plat::rgb(243, 250, 255));
    EXPECT_EQ(PixelAt(dlg, 700, 94), plat::rgb(237, 240, 242));
    // The toolbar buttons draw over the band.
    bool newButtonDrawn = false;
    for (int y = 30; y < 94 && !newButtonDrawn; ++y)
        newButtonDrawn = PixelAt(dlg, 40, y) != plat::rgb(243, 250, 255);
    EXPECT_TRUE(newButtonDrawn);
    // Tabs: the current one differs from the others; past the last tab the strip is background.
    const CSkinButton& current = *dlg.m_tabs[1];
    const CSkinButton& other = *dlg.m_tabs[0];
    EXPECT_NE(PixelAt(dlg, current.m_x + current.m_width / 2, 102),
              PixelAt(dlg, other.m_x + other.m_width / 2, 102));
    const CSkinButton& last = *dlg.m_tabs[2];
    const plat::ColorRef beyond = PixelAt(dlg, last.m_x + last.m_width + 40, 113);
    EXPECT_NE(beyond, PixelAt(dlg, last.m_x + last.m_width / 2, 102));
    // The project frame stands below the tabs, the version label in the bottom-right corner.
    EXPECT_NE(PixelAt(dlg, 10, 200), PixelAt(dlg, 5, 200));
    int palestGreen = 255;
    for (int x = w - dlg.m_versionWidth - 4; x < w - 4; ++x) {
        for (int y = h - 19; y < h - 4; ++y)
            palestGreen = std::min(palestGreen, plat::greenOf(PixelAt(dlg, x, y)));
    }
    EXPECT_LE(palestGreen, 230) << "the label's RGB(220, 220, 255) shows against the pale background";
}
