#pragma once

#include "app/main_dlg.h"
#include "app/project.h"
#include "net/crawler.h"
#include "net/downloader.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

namespace apptest {

inline constexpr char kScreensJson[] = R"({
  "screens": [
    { "name": "primary", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 },
    { "name": "second", "x": 1280, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
  ]
})";

// Folders for one crawler below a temporary folder: program, data and the start-with-login entry.
inline CrawlerFolders TemporaryFolders(const QTemporaryDir& root) {
    CrawlerFolders folders;
    folders.appDir = root.path();
    folders.dataDir = root.filePath(QStringLiteral("data/Tarnwick 2.0"));
    folders.autostartFile = root.filePath(QStringLiteral("config/autostart/tarnwick.desktop"));
    folders.executable = root.filePath(QStringLiteral("tarnwick"));
    return folders;
}

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

// What a test project saw of the crawler during one step.
struct StepSeen {
    int currentJob = 0;
    bool paused = false;
    bool tickTimerRunning = true;
};

// A project kind for the tick: counts and records its steps, can ask the pool for a downloader and hold or
// release it, and runs an action of the test's inside its step.
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
        StepSeen seen;
        seen.currentJob = g_pCrawler ? g_pCrawler->GetCurrentJob() : -99;
        seen.paused = g_pCrawler && g_pCrawler->IsPaused();
        seen.tickTimerRunning = owner && owner->hasTimer(CMainDlg::kProjectTimer);
        steps.push_back(seen);
        if (takeDownloader && !held && g_pCrawler)
            held = g_pCrawler->GetFreeDownloader();
        if (releaseDownloader && held) {
            held->Release();
            held = nullptr;
        }
        if (duringStep)
            duringStep();
    }
    void ShowView(int show) override { shows.push_back(show); }
    void OnCommand(const QString& command, int, CSkinDlg_Base* sender) override {
        commands.append(command);
        senders.push_back(sender);
    }

    CMainDlg* owner = nullptr;
    std::vector<StepSeen> steps;
    std::vector<int> shows;
    QStringList commands;
    std::vector<CSkinDlg_Base*> senders;
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
    void Click(const CSkinElement& e) {
        const plat::Point at = e.GetDialogPos();
        const int x = at.x + e.m_width / 2;
        const int y = at.y + e.m_height / 2;
        onMouseMove(x, y);
        onLButtonDown(x, y);
        onLButtonUp(x, y);
    }

    QStringList commands;
};

// The main window on the test desktop, opened, with the crawler it drives.
struct OpenMainWindow {
    OpenMainWindow() { dlg.Open(); }
    ~OpenMainWindow() { dlg.Close(); }
    OpenMainWindow(const OpenMainWindow&) = delete;
    OpenMainWindow& operator=(const OpenMainWindow&) = delete;
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
