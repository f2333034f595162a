#include "app/about_dlg.h"
#include "app/project_exporter.h"
#include "core/atomic_file.h"
#include "platform/application.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_popup.h"
#include "tests/app/app_test_support.h"
#include "tests/app/export_report.h"
#include "tests/app/file_size_limit.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using apptest::ModalScript;
using apptest::OpenMainWindow;

namespace {

// A project whose view is the export test's report; it hands the report over twice, as a kind with two
// reports does.
class ReportProject : public apptest::TestProject {
  public:
    using TestProject::TestProject;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override {
        report.SetupColumns(holder, ++*nextId);
        report.SetPosition(20, 180, 600, 300, 0);
        report.Fill();
    }
    int CanExport(int reserved) override {
        EXPECT_EQ(reserved, 0);
        return exportAnswer;
    }
    void Export(CProjectExporter* exporter) override {
        exporter->ExportReport(report, 100);
        exporter->ExportReport(report, 100);
    }

    apptest::ExportReport report;
    int exportAnswer = 1;
};

// Releases the left button over item index of an open menu, as the user chooses it.
void Choose(CSkinMenuPopup& menu, int index) {
    for (int y = 0; y < menu.m_height; ++y) {
        menu.onMouseMove(20, y);
        if (menu.HoveredItem() == index) {
            menu.onLButtonUp(20, y);
            return;
        }
    }
    ADD_FAILURE() << "no place hovers item " << index;
}

QByteArray FileBytes(const QString& path) {
    QByteArray bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

QByteArray Expected(const QString& name) {
    return FileBytes(QStringLiteral(TW_APP_TEST_DATA_DIR "/") + name);
}

} // namespace

// The export command: the filter decides the form of a name without extension, the extension decides
// otherwise; the file holds exactly what the grid shows.
TEST(MainWindowExport, WritesTheFormTheNameOrFilterChose) {
    OpenMainWindow w;
    auto owned = std::make_unique<ReportProject>(1);
    ReportProject* project = owned.get();
    w.dlg.AddProject(std::move(owned));
    QTemporaryDir dir;
    w.script.AnswerFileDialogs(
        {{dir.filePath(u"list"_s), 1}, {dir.filePath(u"LIST.HTML"_s), 1}, {dir.filePath(u"page"_s), 0}});
    for (int i = 0; i < 3; ++i)
        w.dlg.OnCommand(u"export"_s, 0);
    EXPECT_EQ(w.script.fileRequests[0].filters,
              (QStringList{u"HTML files (*.htm *.html)"_s, u"Excel CSV (*.csv)"_s}));
    EXPECT_EQ(FileBytes(dir.filePath(u"list.csv"_s)), Expected(u"expected_report.csv"_s));
    EXPECT_EQ(FileBytes(dir.filePath(u"LIST.HTML"_s)), Expected(u"expected_report.htm"_s));
    EXPECT_EQ(FileBytes(dir.filePath(u"page.htm"_s)), Expected(u"expected_report.htm"_s));
    EXPECT_TRUE(w.script.messages.empty());

    // An added extension naming an existing file asks first.
    w.script.Then(ModalScript::Answer(skin::kResultNo));
    w.script.AnswerFileDialogs({{dir.filePath(u"page"_s), 1}, {dir.filePath(u"list"_s), 1}});
    w.dlg.OnCommand(u"export"_s, 0);
    EXPECT_TRUE(w.script.messages.empty()) << "page.csv did not exist";
    ASSERT_TRUE(WriteFileAtomically(dir.filePath(u"list.csv"_s), "mine"));
    w.dlg.OnCommand(u"export"_s, 0);
    ASSERT_EQ(w.script.messages.size(), 1u);
    EXPECT_EQ(w.script.messages[0].text, u"list.csv already exists.\nDo you want to replace it?"_s);
    EXPECT_EQ(FileBytes(dir.filePath(u"list.csv"_s)), "mine");

    // Refusals and failures.
    w.script.messages.clear();
    project->exportAnswer = 0;
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"export"_s, 0);
    project->exportAnswer = 5;
    const size_t asked = w.script.fileRequests.size();
    w.dlg.OnCommand(u"export"_s, 0);
    EXPECT_EQ(w.script.fileRequests.size(), asked) << "no dialog for a kind that answers neither 0 nor 1";
    project->exportAnswer = 1;
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.script.AnswerFileDialogs(
        {{dir.filePath(u"no/such/folder.csv"_s), 1}, {dir.filePath(u"full.csv"_s), 1}});
    w.dlg.OnCommand(u"export"_s, 0);
    {
        apptest::FileSizeLimit diskFull(256);
        w.dlg.OnCommand(u"export"_s, 0);
    }
    ASSERT_EQ(w.script.messages.size(), 3u);
    EXPECT_EQ(w.script.messages[0].text, u"The export option is not available for this project."_s);
    EXPECT_EQ(w.script.messages[0].caption, u"Sorry"_s);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(w.script.messages[i].text, u"Cannot open destination file for writing"_s);
        EXPECT_EQ(w.script.messages[i].caption, u"Critical error"_s);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"full.csv"_s))) << "never a truncated file";
}

// Closing the window asks once, and only when a project with results could still be saved.
TEST(MainWindowClose, AsksBeforeLosingResultsThatCouldBeSaved) {
    OpenMainWindow w;
    apptest::TestProject* project = w.dlg.AddTestProject(1);
    w.dlg.AddTestProject(2)->m_hasResults = true;
    project->m_hasResults = true;
    w.script.Then(ModalScript::Answer(skin::kResultNo));
    w.dlg.OnCommand(u"Default_close"_s, 0);
    EXPECT_EQ(w.dlg.Result(), 0);
    ASSERT_EQ(w.script.messages.size(), 1u);
    EXPECT_EQ(w.script.messages[0].text,
              u"You will lose any unsaved results.\nAre you sure you want to continue?"_s);
    w.script.Then(ModalScript::Answer(skin::kResultYes));
    w.dlg.OnCommand(u"Default_close"_s, 0);
    EXPECT_EQ(w.script.messages.size(), 2u);
    EXPECT_NE(w.dlg.Result(), 0);
}

TEST(MainWindowClose, ClosingATabNeverAsks) {
    OpenMainWindow w;
    w.dlg.AddTestProject(1)->m_hasResults = true;
    w.dlg.OnCommand(u"close_project"_s, 0);
    EXPECT_TRUE(w.dlg.m_projects.empty());
    w.dlg.OnCommand(u"Default_close"_s, 0);
    EXPECT_TRUE(w.script.messages.empty());
    EXPECT_NE(w.dlg.Result(), 0);
}

// Help: the menu's items; Topics without a manual says so; About opens the about box after its delay;
// the estimates command answers after its own.
TEST(MainWindowHelp, MenuManualAboutAndEstimates) {
    OpenMainWindow w;
    QStringList items;
    const auto chooseFromMenu = [&](int index) {
        return ModalScript::On<CSkinMenuPopup>([&items, index](CSkinMenuPopup& menu) {
            items.clear();
            for (const CSkinMenuPopup_Item& item : menu.Items())
                items.append(item.text + u'|' + item.command);
            Choose(menu, index);
        });
    };
    w.script.Then(chooseFromMenu(0));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"help"_s, 0);
    EXPECT_EQ(items, (QStringList{u"Topics|help_topics"_s, u"-|"_s, u"About...|help_about"_s}));
    ASSERT_TRUE(w.script.WaitDone());
    ASSERT_EQ(w.script.messages.size(), 1u);
    EXPECT_EQ(w.script.messages[0].text, u"The manual could not be opened."_s);
    w.script.Then(chooseFromMenu(2));
    w.dlg.OnCommand(u"help"_s, 0);

    QStringList labels;
    w.script.Then(ModalScript::On<CAboutDlg>([&](CAboutDlg& about) {
        for (const CSkinLabel& label : about.m_labels)
            labels.append(label.m_caption);
        EXPECT_EQ(about.m_labels[1].m_x + about.m_labels[1].m_width,
                  about.m_labels[0].m_x + about.m_labels[0].m_width);
        apptest::ClickElement(about, about.m_okButton);
    }));
    EXPECT_FALSE(w.script.Done()) << "the box waits for its timer";
    ASSERT_TRUE(w.script.WaitDone());
    EXPECT_EQ(labels, (QStringList{u"Tarnwick 2.0"_s, u"ver 2.0 R18"_s, CAboutDlg::kSiteText}));

    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"prj1_estimates"_s, 0);
    ASSERT_TRUE(w.script.WaitDone());
    EXPECT_EQ(w.script.messages.back().text, u"Not implemented"_s);
}

// The tab menu offers pause or resume by the project's state; its choice comes back as a command.
TEST(MainWindowTabs, TheTabMenuPausesResumesAndCloses) {
    OpenMainWindow w;
    w.dlg.AddTestProject(1, u"Alpha"_s);
    w.dlg.AddTestProject(2, u"Beta"_s);
    QStringList items;
    const auto chooseFromMenu = [&](int index) {
        return ModalScript::On<CSkinMenuPopup>([&items, index](CSkinMenuPopup& menu) {
            items.clear();
            for (const CSkinMenuPopup_Item& item : menu.Items())
                items.append(item.text + u'|' + item.command + u'|' + QString::number(item.param));
            Choose(menu, index);
        });
    };
    w.script.Then(chooseFromMenu(0));
    w.dlg.OnCommand(u"show_project_closeMenu"_s, 0);
    plat::Application::processEvents();
    EXPECT_EQ(items,
              (QStringList{u"Pause Run|pause_project|0"_s, u"-||0"_s, u"Close tab|close_project|0"_s}));
    EXPECT_TRUE(w.dlg.m_projects[0]->m_paused);
    EXPECT_EQ(w.dlg.m_projects[0]->m_name, u"Alpha (paused)"_s);

    w.script.Then(chooseFromMenu(0));
    w.dlg.OnCommand(u"show_project_closeMenu"_s, 0);
    plat::Application::processEvents();
    EXPECT_EQ(items.value(0), u"Resume Run|resume_project|0"_s);
    EXPECT_EQ(w.dlg.m_projects[0]->m_name, u"Alpha"_s);

    w.script.Then(chooseFromMenu(2));
    w.dlg.OnCommand(u"show_project_closeMenu"_s, 1);
    plat::Application::processEvents();
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_name, u"Alpha"_s);
    for (const int outside : {-1, 1}) {
        w.dlg.OnCommand(u"show_project_closeMenu"_s, outside);
        EXPECT_EQ(w.script.unscripted, 0) << "no menu for a tab that does not exist";
    }
}
