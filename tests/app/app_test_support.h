#pragma once

#include "app/main_dlg.h"
#include "app/project.h"
#include "core/atomic_file.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "projects/project_factory.h"
#include "tests/support/modal_script.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

namespace apptest {

// Folders for one crawler below a temporary folder: program, data and the start-with-login entry.
inline CrawlerFolders TemporaryFolders(const QTemporaryDir& root) {
    return {root.path(), root.filePath(QStringLiteral("data/Tarnwick 2.0")),
            root.filePath(QStringLiteral("config/autostart/tarnwick.desktop")),
            root.filePath(QStringLiteral("tarnwick"))};
}

// A file's bytes; none when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
    QByteArray bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

// What a test project saw of the crawler during one step.
struct StepSeen {
    int currentJob = 0;
    bool paused = false;
    bool tickTimerRunning = true;
};

// A project kind for the tick: records its steps, can ask the pool for a downloader and hold or release it,
// and runs an action of the test's inside its step.
class TestProject : public CProject {
  public:
    explicit TestProject(int id, QString name = QStringLiteral("Test project")) : CProject(id) {
        m_kind = 1;
        m_name = std::move(name);
    }
    ~TestProject() override {
        if (destroyed)
            *destroyed = true;
    }

    void Process() override {
        steps.push_back({g_pCrawler->GetCurrentJob(), g_pCrawler->IsPaused(),
                         owner && skin::HostWindow(*owner).hasTimer(CMainDlg::kProjectTimer)});
        if (takeDownloader && !held)
            held = g_pCrawler->GetFreeDownloader();
        if (releaseDownloader && held) {
            held->Release();
            held = nullptr;
        }
        if (duringStep)
            duringStep();
    }
    void ShowView(int show) override { shown = show; }
    void OnCommand(const QString& command, int, CSkinDlg_Base* sender) override {
        commands.append(command);
        lastSender = sender;
    }

    CMainDlg* owner = nullptr;
    std::vector<StepSeen> steps;
    int shown = -1;
    QStringList commands;
    CSkinDlg_Base* lastSender = nullptr;
    bool takeDownloader = false;
    bool releaseDownloader = false;
    CDownloader* held = nullptr;
    bool* destroyed = nullptr;
    std::function<void()> duringStep;
};

// The main window, opened without its modal loop (handlers are called directly), recording the commands
// that reach it.
class TestMainDlg : public CMainDlg {
  public:
    bool OnCommand(const QString& command, int param) override {
        commands.append(command);
        return CMainDlg::OnCommand(command, param);
    }
    void Open() {
        onInitDialog();
        onActivate(true);
    }
    void Close() {
        hide();
        onDestroy();
    }
    TestProject* AddTestProject(int id, const QString& name = QStringLiteral("Test project")) {
        auto project = std::make_unique<TestProject>(id, name);
        TestProject* raw = project.get();
        raw->owner = this;
        AddProject(std::move(project));
        return raw;
    }

    QStringList commands;
};

// The one crawler for a test, with its pool made, reachable through g_pCrawler while it lives.
class CrawlerFixture {
  public:
    CrawlerFixture() : crawler(std::make_unique<CProjectCrawler>(TemporaryFolders(root))) {
        crawler->Init();
        g_pCrawler = crawler.get();
    }
    ~CrawlerFixture() {
        crawler->StopAll();
        crawler->Shutdown();
        g_pCrawler = nullptr;
    }
    CrawlerFixture(const CrawlerFixture&) = delete;
    CrawlerFixture& operator=(const CrawlerFixture&) = delete;

    QTemporaryDir root;
    std::unique_ptr<CProjectCrawler> crawler;
};

// The main window on the test desktop, opened, with the crawler it drives, the real project kinds and a
// script that plays the user in its dialogs (every dialog the test does not script is cancelled).
struct OpenMainWindow {
    OpenMainWindow() {
        dlg.m_makeProject = NewProjectOfKind;
        dlg.Open();
        // Tests open the wizard themselves, when they mean to.
        skin::HostWindow(dlg).killTimer(CMainDlg::kWizardTimer);
    }
    ~OpenMainWindow() { dlg.Close(); }
    OpenMainWindow(const OpenMainWindow&) = delete;
    OpenMainWindow& operator=(const OpenMainWindow&) = delete;
    skintest::ModalScript script;
    CrawlerFixture crawler;
    TestMainDlg dlg;
};

// Threads of this process now, leaving out Qt's idle image-work pool, which comes and goes by itself.
inline int ThreadCount() {
    const QDir tasks(QStringLiteral("/proc/self/task"));
    int count = 0;
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks.filePath(task + QStringLiteral("/comm")));
        if (name.open(QIODevice::ReadOnly) && !name.readAll().startsWith("Thread (pooled)"))
            ++count;
    }
    return count;
}

} // namespace apptest
