#pragma once

#include "app/new_project_dlg.h"
#include "core/atomic_file.h"
#include "core/clock.h"
#include "projects/competition/project5.h"
#include "tests/app/app_test_support.h"
#include "tests/projects/fixture_server.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>

namespace kind5test {

inline QByteArray FileBytes(const QString& path) {
    QByteArray bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

inline QByteArray DataBytes(const QString& name) {
    return FileBytes(QStringLiteral(TW_PROJECTS_TEST_DATA_DIR "/kind5/") + name);
}

// The wall clock the checks are dated and scheduled by, set by the test; the monotonic clock stays real for
// the download pool.
class SteppedClock : public Clock {
  public:
    explicit SteppedClock(const QDateTime& start) : m_utc(start.toSecsSinceEpoch()) { InstallClock(this); }
    ~SteppedClock() override { InstallClock(nullptr); }
    std::int64_t MonotonicMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    std::int64_t UtcSeconds() override { return m_utc.load(); }
    void Advance(std::int64_t seconds) { m_utc += seconds; }

  private:
    std::atomic<std::int64_t> m_utc;
};

// Chooses kind 5 in the wizard (it has no page, so the wizard ends at once); the open kind-5 project.
inline CProject5& ChooseMonitor(apptest::ModalScript& script, CMainDlg& dlg) {
    script.Then(apptest::ModalScript::On<CNewProjectDlg>(
        [](CNewProjectDlg& wizard) { apptest::ClickElement(wizard, wizard.m_kindButtons[4]); }));
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
    apptest::ModalScript script;

  private:
    Crawler m_crawler;

  public:
    apptest::TestMainDlg dlg;
};

} // namespace kind5test
