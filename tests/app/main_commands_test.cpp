#include "app/about_dlg.h"
#include "app/project_exporter.h"
#include "core/atomic_file.h"
#include "core/platform_services.h"
#include "platform/application.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_popup.h"
#include "tests/app/app_test_support.h"
#include "tests/app/export_report.h"
#include "tests/app/file_size_limit.h"
#include "tests/support/opener_threads.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/stand_in_program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>
#include <thread>

using namespace Qt::StringLiterals;
using apptest::FileBytes;
using apptest::OpenMainWindow;
using skintest::ModalScript;

namespace {

// A project whose view is the export test's report; it hands the report over twice, as a kind with two
// reports does.
class ReportProject : public apptest::TestProject {
  public:
    using TestProject::TestProject;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override {
        report.SetupColumns(holder, ++*nextId);
        report.Fill();
    }
    int CanExport(int) override { return exportAnswer; }
    void Export(CProjectExporter* exporter) override {
        exporter->ExportReport(report, 100);
        exporter->ExportReport(report, 100);
    }
    apptest::ExportReport report;
    int exportAnswer = 1;
};

// A step for a menu: its items as "text|command|param", then the item index chosen with a left release.
ModalScript::Step ReadAndChoose(QStringList& items, int index) {
    return ModalScript::On<CSkinMenuPopup>([&items, index](CSkinMenuPopup& menu) {
        items.clear();
        for (const CSkinMenuPopup_Item& item : menu.Items())
            items.append(item.text + u'|' + item.command + u'|' + QString::number(item.param));
        int y = 0;
        for (; y < menu.m_height; ++y) {
            menu.onMouseMove(20, y);
            if (menu.HoveredItem() == index)
                break;
        }
        menu.onLButtonUp(20, y);
    });
}

} // namespace

// The export command writes exactly what the grid shows, in the form the extension names, or the filter for
// a name without one; an added extension naming an existing file asks first; refusals and failures say so
// and never leave a truncated file.
TEST(MainWindowExport, WritesTheFormTheNameOrFilterChose) {
    OpenMainWindow w;
    auto owned = std::make_unique<ReportProject>(1);
    ReportProject* project = owned.get();
    w.dlg.AddProject(std::move(owned));
    QTemporaryDir dir;
    const QString data = QStringLiteral(TW_APP_TEST_DATA_DIR "/");
    ASSERT_TRUE(WriteFileAtomically(dir.filePath(u"kept.csv"_s), "mine"));
    w.script.Then(ModalScript::Answer(skin::kResultNo));
    w.script.AnswerFileDialogs({{dir.filePath(u"list"_s), 1},
                                {dir.filePath(u"LIST.HTML"_s), 1},
                                {dir.filePath(u"page"_s), 0},
                                {dir.filePath(u"kept"_s), 1}});
    for (int i = 0; i < 4; ++i)
        w.dlg.OnCommand(u"export"_s, 0);
    EXPECT_EQ(w.script.fileRequests[0].filters,
              (QStringList{u"HTML files (*.htm *.html)"_s, u"Excel CSV (*.csv)"_s}));
    EXPECT_EQ(FileBytes(dir.filePath(u"list.csv"_s)), FileBytes(data + u"expected_report.csv"_s));
    EXPECT_EQ(FileBytes(dir.filePath(u"LIST.HTML"_s)), FileBytes(data + u"expected_report.htm"_s));
    EXPECT_EQ(FileBytes(dir.filePath(u"page.htm"_s)), FileBytes(data + u"expected_report.htm"_s));
    ASSERT_EQ(w.script.messages.size(), 1u);
    EXPECT_EQ(w.script.messages[0].text, u"kept.csv already exists.\nDo you want to replace it?"_s);
    EXPECT_EQ(FileBytes(dir.filePath(u"kept.csv"_s)), "mine");

    project->exportAnswer = 5;
    w.dlg.OnCommand(u"export"_s, 0);
    EXPECT_EQ(w.script.fileRequests.size(), 4u) << "no dialog for a kind that answers neither 0 nor 1";
    project->exportAnswer = 0;
    for (int i = 0; i < 3; ++i)
        w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"export"_s, 0);
    project->exportAnswer = 1;
    w.script.AnswerFileDialogs(
        {{dir.filePath(u"no/such/folder.csv"_s), 1}, {dir.filePath(u"full.csv"_s), 1}});
    w.dlg.OnCommand(u"export"_s, 0);
    {
        apptest::FileSizeLimit diskFull(256);
        w.dlg.OnCommand(u"export"_s, 0);
    }
    ASSERT_EQ(w.script.messages.size(), 4u);
    EXPECT_EQ(w.script.messages[1].text, u"The export option is not available for this project."_s);
    EXPECT_EQ(w.script.messages[1].caption, u"Sorry"_s);
    for (size_t i = 2; i < 4; ++i) {
        EXPECT_EQ(w.script.messages[i].text, u"Cannot open destination file for writing"_s);
        EXPECT_EQ(w.script.messages[i].caption, u"Critical error"_s);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"full.csv"_s)));

    // Rows all filtered out, though there are items: the header row only.
    project->report.m_columns[apptest::ExportReport::kVolume].intMax = 1;
    project->report.InvalidateContent();
    w.script.AnswerFileDialogs({{dir.filePath(u"none.csv"_s), 1}});
    w.dlg.OnCommand(u"export"_s, 0);
    const QByteArray headerOnly = "\"Volume\",\"CPC (USD)\",\"Keyword\",\r\n\r\n";
    EXPECT_EQ(FileBytes(dir.filePath(u"none.csv"_s)), headerOnly + headerOnly);
}

// Closing the window asks once, and only for results that could still be saved; closing a tab asks the same
// for its own project: No keeps it, a project without unsaved results closes at once.
TEST(MainWindowClose, AsksBeforeLosingResultsThatCouldBeSaved) {
    const QString question = u"You will lose any unsaved results.\nAre you sure you want to continue?"_s;
    const QString kCloseAlpha =
        u"You will lose any unsaved results of \"Alpha\".\nAre you sure you want to close its tab?"_s;
    OpenMainWindow w;
    w.dlg.AddTestProject(1, u"Alpha"_s)->m_hasResults = true;
    w.script.Then(ModalScript::Answer(skin::kResultNo));
    w.dlg.OnCommand(u"close_project"_s, 0);
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    w.script.Then(ModalScript::Answer(skin::kResultYes));
    w.dlg.OnCommand(u"close_project"_s, 0);
    EXPECT_TRUE(w.dlg.m_projects.empty());
    w.dlg.AddTestProject(4);
    w.dlg.OnCommand(u"close_project"_s, 0);
    EXPECT_TRUE(w.dlg.m_projects.empty());
    ASSERT_EQ(w.script.messages.size(), 2u);
    EXPECT_EQ(w.script.messages[0].text, kCloseAlpha);

    w.dlg.AddTestProject(2)->m_hasResults = true;
    w.dlg.AddTestProject(3)->m_hasResults = true;
    w.script.Then(ModalScript::Answer(skin::kResultNo));
    w.dlg.OnCommand(u"Default_close"_s, 0);
    EXPECT_EQ(w.dlg.Result(), 0);
    w.script.Then(ModalScript::Answer(skin::kResultYes));
    w.dlg.OnCommand(u"Default_close"_s, 0);
    EXPECT_NE(w.dlg.Result(), 0);
    ASSERT_EQ(w.script.messages.size(), 4u);
    EXPECT_EQ(w.script.messages[3].text, question);
}

// Topics and F1 say when the manual could not be opened, naming it: when it is not there, and when the
// opener ends in failure (no PDF viewer), which the window hears of without waiting for it. An opener that
// succeeds goes unmentioned.
TEST(MainWindowHelp, AManualThatCouldNotBeOpenedIsNamed) {
    OpenMainWindow w;
    const QString manual = QDir(w.crawler.crawler->GetAppDir()).filePath(CMainDlg::kManualName);
    ASSERT_TRUE(WriteFileAtomically(manual, "%PDF-1.4"));
    twtest::StandInProgram opener(u"xdg-open"_s, "touch \"$0.ran\"\nexit \"$(cat \"$0.status\")\"");
    ASSERT_TRUE(opener.IsReady());
    const QString ran = opener.FilePath(u"xdg-open.ran"_s);
    const auto endWith = [&](QByteArray status) {
        QFile::remove(ran);
        ASSERT_TRUE(WriteFileAtomically(opener.FilePath(u"xdg-open.status"_s), status));
    };

    endWith("0");
    w.dlg.OnCommand(u"help_topics"_s, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(ran); }, 5000));
    QTest::qWait(200);
    EXPECT_TRUE(w.script.messages.empty());

    endWith("3");
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"help_topics"_s, 0);
    EXPECT_TRUE(w.script.messages.empty()) << "the window does not wait for the opener";
    ASSERT_TRUE(w.script.WaitDone());
    ASSERT_EQ(w.script.messages.size(), 1u);
    EXPECT_EQ(w.script.messages[0].text, u"The manual could not be opened.\n"_s + manual);
    EXPECT_EQ(w.script.messages[0].type, skin::kMessageOk | skin::kMessageExclamation);

    // F1's manual stands beside the program, where the tests have none.
    ASSERT_FALSE(QFile::exists(CSkinDlg_Base::UserManualPath()));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.onHelp();
    ASSERT_TRUE(w.script.WaitDone());
    ASSERT_EQ(w.script.messages.size(), 2u);
    EXPECT_EQ(w.script.messages[1].text,
              u"The manual could not be opened.\n"_s + CSkinDlg_Base::UserManualPath());
}

// Help's menu: Topics without a manual says so; About opens the about box after its delay. The estimates
// command answers after its own.
TEST(MainWindowHelp, MenuManualAboutAndEstimates) {
    OpenMainWindow w;
    QStringList items;
    w.script.Then(ReadAndChoose(items, 0));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"help"_s, 0);
    EXPECT_EQ(items, (QStringList{u"Topics|help_topics|0"_s, u"-||0"_s, u"About...|help_about|0"_s}));
    ASSERT_TRUE(w.script.WaitDone());
    EXPECT_EQ(w.script.messages.at(0).text,
              u"The manual could not be opened.\n"_s +
                  QDir(w.crawler.crawler->GetAppDir()).filePath(u"tw2-manual.pdf"_s));

    bool aboutShown = false;
    w.script.Then(ReadAndChoose(items, 2));
    w.script.Then(ModalScript::On<CAboutDlg>([&](CAboutDlg& about) {
        aboutShown = true;
        skintest::ClickElement(about, about.m_okButton);
    }));
    w.dlg.OnCommand(u"help"_s, 0);
    EXPECT_FALSE(aboutShown) << "the box waits for its timer";
    ASSERT_TRUE(w.script.WaitDone());
    EXPECT_TRUE(aboutShown);

    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"prj1_estimates"_s, 0);
    ASSERT_TRUE(w.script.WaitDone());
    EXPECT_EQ(w.script.messages.back().text, u"Not implemented"_s);
}

// The about box's link opens the product's site from a thread of its own, so the click is over before the
// browser comes up; the box stays open.
TEST(AboutBox, TheSiteLinkOpensThePageOffTheInterfaceThread) {
    twtest::OpenerThreads services;
    InstallPlatformServices(&services);
    CAboutDlg about(nullptr);
    about.onInitDialog();
    skintest::ClickElement(about, about.m_labels[2]);
    WaitForBrowserLaunches();
    InstallPlatformServices(nullptr);
    EXPECT_EQ(services.OpenedUrls(), QStringList{CAboutDlg::kSiteUrl});
    ASSERT_EQ(services.openers.size(), 1u);
    EXPECT_NE(services.openers[0], std::this_thread::get_id());
    EXPECT_EQ(about.Result(), 0);
}

// The tab menu offers pause or resume by the project's state, and its choice comes back as a command; a tab
// that does not exist has no menu.
TEST(MainWindowTabs, TheTabMenuPausesResumesAndCloses) {
    OpenMainWindow w;
    w.dlg.AddTestProject(1, u"Alpha"_s);
    w.dlg.AddTestProject(2, u"Beta"_s);
    QStringList items;
    const struct {
        int tab;
        int choice;
        QString firstItem;
    } runs[] = {{0, 0, u"Pause Run|pause_project|0"_s},
                {0, 0, u"Resume Run|resume_project|0"_s},
                {1, 2, u"Pause Run|pause_project|1"_s}};
    for (const auto& run : runs) {
        w.script.Then(ReadAndChoose(items, run.choice));
        w.dlg.OnCommand(u"show_project_closeMenu"_s, run.tab);
        plat::Application::processEvents();
        EXPECT_EQ(items,
                  (QStringList{run.firstItem, u"-||0"_s, u"Close tab|close_project|%1"_s.arg(run.tab)}));
    }
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_name, u"Alpha"_s);

    // Closed from its menu while another tab is shown, a project with unsaved results is named in the
    // question, so the user knows which one goes.
    w.dlg.AddTestProject(3, u"Gamma"_s);
    w.dlg.m_projects[0]->m_hasResults = true;
    ASSERT_EQ(w.dlg.m_curProject, 1);
    w.script.Then(ReadAndChoose(items, 2));
    w.script.Then(ModalScript::Answer(skin::kResultNo));
    w.dlg.OnCommand(u"show_project_closeMenu"_s, 0);
    plat::Application::processEvents();
    ASSERT_EQ(w.script.messages.size(), 1u);
    EXPECT_EQ(w.script.messages[0].text,
              u"You will lose any unsaved results of \"Alpha\".\nAre you sure you want to close its tab?"_s);
    ASSERT_EQ(w.dlg.m_projects.size(), 2u);
    w.dlg.OnCommand(u"close_project"_s, 1);
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    for (const int outside : {-1, 1})
        w.dlg.OnCommand(u"show_project_closeMenu"_s, outside);
    EXPECT_EQ(w.script.unscripted, 0);
}
