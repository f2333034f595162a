#pragma once

#include "app/new_project_dlg.h"
#include "core/atomic_file.h"
#include "projects/kind5/project5.h"
#include "tests/app/app_test_support.h"
#include "tests/projects/fixture_server.h"
#include "tests/support/skin_test_support.h"

#include <QTemporaryDir>

namespace kind5test {

inline QByteArray FileBytes(const QString& path) {
    QByteArray bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

inline QByteArray DataBytes(const QString& name) {
    return FileBytes(QStringLiteral(TW_PROJECTS_TEST_DATA_DIR "/kind5/") + name);
}

// Chooses kind 5 in the wizard (it has no page, so the wizard ends at once); the open kind-5 project.
inline CProject5& ChooseMonitor(skintest::ModalScript& script, CMainDlg& dlg) {
    script.Then(skintest::ModalScript::On<CNewProjectDlg>(
        [](CNewProjectDlg& wizard) { skintest::ClickElement(wizard, wizard.m_kindButtons[4]); }));
    dlg.OnCommand(QStringLiteral("new_project"), 0);
    const int tab = dlg.FindProjectOfKind(5);
    EXPECT_GE(tab, 0);
    return dynamic_cast<CProject5&>(*dlg.m_projects.at(size_t(tab)));
}

// One run of the program on a data folder that outlives it: the crawler, the main window with the real kinds
// and a script playing the user. Every service goes to a loopback server that knows no page, so no tick can
// reach an outside host. Members go in reverse: the window (and its projects) before the crawler.
class Program {
  public:
    explicit Program(const QTemporaryDir& root) : m_crawler(root) {
        m_services.PointEndpoints();
        dlg.m_makeProject = NewProjectOfKind;
        dlg.Open();
        skin::HostWindow(dlg).killTimer(CMainDlg::kWizardTimer);
    }
    ~Program() {
        dlg.Close();
        endpoints::ResetToDefaults();
    }

  private:
    struct Crawler {
        explicit Crawler(const QTemporaryDir& root) : crawler(apptest::TemporaryFolders(root)) {
            crawler.Init();
            g_pCrawler = &crawler;
        }
        ~Crawler() {
            crawler.StopAll();
            crawler.Shutdown();
            g_pCrawler = nullptr;
        }
        CProjectCrawler crawler;
    };

    projtest::FixtureServer m_services;

  public:
    skintest::ModalScript script;

  private:
    Crawler m_crawler;

  public:
    apptest::TestMainDlg dlg;
};

} // namespace kind5test
