#include "app/main_dlg.h"
#include "platform/application.h"
#include "projects/project_factory.h"
#include "skin/skin_atlas.h"
#include "tests/app/app_test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The main window with three projects, the second busy, written to renders/main_window.png to be looked at.
// Toolbar backs, tabs and the project frame show the atlas pictures named for them.
TEST(MainWindowRender, ToolbarTabStripAndProjectFrameShowTheirPictures) {
    apptest::OpenMainWindow window;
    apptest::TestMainDlg& dlg = window.dlg;
    for (const int kind : {1, 4, 5}) {
        std::unique_ptr<CProject> project = NewProjectOfKind(kind, g_pCrawler->TakeProjectId());
        project->InitInfo();
        dlg.AddProject(std::move(project));
    }
    dlg.OnCommand(u"show_project"_s, 1);
    constexpr plat::Rect kBusy = skin::AtlasRect("tab.busy");
    dlg.m_tabs[1]->SetAnimation({kBusy.topLeft(), {16, 16}, true, kBusy.height() / 16}, false);
    // The window is shown and maximised: let the platform deliver that before painting.
    plat::Application::processEvents();
    dlg.RedrawNow();
    const plat::DeviceContext& dc = dlg.backBuffer();
    QDir().mkpath(QStringLiteral(TW_APP_RENDER_DIR));
    ASSERT_TRUE(dc.saveImage(QStringLiteral(TW_APP_RENDER_DIR) + u"/main_window.png"_s));

    const plat::DeviceContext& atlas = *dlg.m_pAtlasDC;
    const auto atlasPixel = [&](const plat::Rect& piece, int x, int y) {
        return atlas.getPixel(piece.left + x, piece.top + y);
    };
    // A toolbar button's top edge, stretched from the middle of its back.
    const CSkinIcoButton& save = dlg.m_btnSave;
    EXPECT_EQ(dc.getPixel(save.m_x + save.m_width / 2, save.m_y + 1),
              atlasPixel(skin::AtlasRect("toolbar.back"), 40, 1));
    // The current tab in the chosen look, the others in the plain one (their middle column stretched).
    for (size_t i = 0; i < dlg.m_tabs.size(); ++i) {
        const CSkinButton& tab = *dlg.m_tabs[i];
        const plat::Rect look = i == 1 ? skin::AtlasRect("tab.pressed") : skin::AtlasRect("tab.normal");
        EXPECT_EQ(dc.getPixel(tab.m_x + tab.m_width / 2, tab.m_y + 2), atlasPixel(look, look.width() / 2, 2))
            << i;
    }
    // The project frame's left edge below the tabs.
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(dc.getPixel(10 + x, 300), atlasPixel(skin::AtlasRect("frame.left"), x, 0)) << x;
    // The version label shows in the bottom-right corner: its pale blue is less green than the background.
    int palestGreen = 255;
    for (int x = dlg.m_width - dlg.m_versionWidth - 4; x < dlg.m_width - 4; ++x)
        for (int y = dlg.m_height - 19; y < dlg.m_height - 4; ++y)
            palestGreen = std::min(palestGreen, plat::GreenOf(dc.getPixel(x, y)));
    EXPECT_LE(palestGreen, 230);
}
