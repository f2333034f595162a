#include "app/main_dlg.h"
#include "app/tarnwick_app.h"
#include "net/tls_socket_context.h"
#include "resources/skin_resources.h"
#include "skin/skin_atlas.h"
#include "tests/app/app_test_support.h"
#include "tests/support/http_server.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Runs the application with temporary folders and gives the skin atlas of the test program back after.
class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        m_options.folders = apptest::TemporaryFolders(m_root);
        m_options.reportFailure = [this](const QString& text) { m_failures.append(text); };
    }
    void TearDown() override { skin::SetAtlas(m_savedAtlas); }

    bool Run() { return CTarnwickApp(m_options).Run(); }

    QTemporaryDir m_root;
    plat::DeviceContext* m_savedAtlas = skin::Atlas();
    CTarnwickAppOptions m_options;
    QStringList m_failures;
};

// Sets an environment variable (or removes it, for null) while it lives.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        value ? qputenv(name, value) : qunsetenv(name);
    }
    ~ScopedVariable() { m_wasSet ? qputenv(m_name, m_old) : qunsetenv(m_name); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

} // namespace

TEST_F(StartupTest, BringsUpEverythingBeforeTheWindowRunsAndTakesItDownAfter) {
    m_options.commandLine = u"--GoProject4 --GoProject5"_s;
    bool called = false;
    const int threadsBefore = apptest::ThreadCount();
    m_options.runMainWindow = [&](CMainDlg& dlg) {
        called = true;
        ASSERT_NE(g_pCrawler, nullptr);
        EXPECT_TRUE(g_pCrawler->m_sslContext && g_pCrawler->m_sslContext->GetHandle());
        EXPECT_TRUE(skin::Atlas() && dlg.m_pAtlasDC == skin::Atlas());
        // Title bar, task bar and window switcher take the size they need from the one icon.
        const QList<QSize> iconSizes = dlg.widget()->windowIcon().availableSizes();
        for (const int size : skin_resources::kIconSizes)
            EXPECT_TRUE(iconSizes.contains(QSize(size, size))) << size;
        EXPECT_TRUE(QFileInfo(g_pCrawler->GetDataDir()).isDir());
        const size_t pool = g_pCrawler->GetDownloaders().size();
        EXPECT_GE(apptest::ThreadCount(), threadsBefore + int(pool)) << "one worker per downloader";
        EXPECT_EQ(g_pCrawler->m_cmdLine, u"--GoProject4 --GoProject5"_s);
        struct sigaction current {};
        sigaction(SIGPIPE, nullptr, &current);
        EXPECT_EQ(current.sa_handler, SIG_IGN);
        g_pCrawler->allowMaxThreads = 7;
    };
    ASSERT_TRUE(Run());
    EXPECT_TRUE(m_failures.isEmpty());
    ASSERT_TRUE(called);
    EXPECT_EQ(g_pCrawler, nullptr);
    EXPECT_EQ(skin::Atlas(), nullptr);
    EXPECT_EQ(apptest::ThreadCount(), threadsBefore) << "every worker was joined";

    int seenThreads = 0;
    m_options.runMainWindow = [&](CMainDlg&) { seenThreads = g_pCrawler->allowMaxThreads; };
    ASSERT_TRUE(Run());
    EXPECT_EQ(seenThreads, 7) << "the settings were saved at the end and loaded before the window ran";
}

// The crawler names the main window from its construction until the window is taken down; the projects
// the window deletes as it goes already find none, so nothing reaches a window half destroyed.
TEST_F(StartupTest, TheCrawlerNamesTheMainWindowOnlyWhileItExists) {
    // Notes, as the main window deletes it, which window the crawler names.
    struct WatchingProject : apptest::TestProject {
        WatchingProject(int id, CMainDlg** seen) : TestProject(id), seenAtDelete(seen) {}
        ~WatchingProject() override { *seenAtDelete = g_pCrawler ? g_pCrawler->m_mainWnd : nullptr; }
        CMainDlg** seenAtDelete;
    };
    CMainDlg* running = nullptr;
    CMainDlg* window = nullptr;
    CMainDlg* seenAtDelete = nullptr;
    m_options.runMainWindow = [&](CMainDlg& dlg) {
        window = &dlg;
        running = g_pCrawler->m_mainWnd;
        seenAtDelete = &dlg;
        dlg.AddProject(std::make_unique<WatchingProject>(g_pCrawler->TakeProjectId(), &seenAtDelete));
    };
    ASSERT_TRUE(Run());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(running, window);
    EXPECT_EQ(seenAtDelete, nullptr) << "the crawler still named the window while it was deleted";
}

TEST_F(StartupTest, AFailedTlsContextIsReportedAndNothingRuns) {
    bool ran = false;
    m_options.createSslContext = [](CSSLContext&) { return false; };
    m_options.runMainWindow = [&](CMainDlg&) { ran = true; };
    EXPECT_FALSE(Run());
    EXPECT_EQ(m_failures, QStringList{u"Failed to create SSL context"_s});
    EXPECT_FALSE(ran);
    EXPECT_EQ(g_pCrawler, nullptr);
    EXPECT_FALSE(QFileInfo::exists(m_options.folders.dataDir + u"/settings.zxml"_s))
        << "a start that failed early writes no settings";
}

// With no place for the random seed file (neither RANDFILE nor HOME), start-up says so and stops before the
// window; RANDFILE alone is enough, and a seed file that is not there yet is no failure.
TEST_F(StartupTest, WithoutAPlaceForTheRandomSeedFileNothingRuns) {
    bool ran = false;
    m_options.runMainWindow = [&](CMainDlg&) { ran = true; };
    ScopedVariable home("HOME", nullptr);
    {
        ScopedVariable seedFile("RANDFILE", nullptr);
        EXPECT_FALSE(Run());
    }
    EXPECT_EQ(m_failures, QStringList{u"Failed to get SSL RAND file name"_s});
    EXPECT_FALSE(ran);
    EXPECT_EQ(g_pCrawler, nullptr);
    EXPECT_FALSE(QFileInfo::exists(m_options.folders.dataDir + u"/settings.zxml"_s));

    ScopedVariable seedFile("RANDFILE", m_root.filePath(u"no-seed-yet"_s).toLocal8Bit().constData());
    EXPECT_TRUE(Run());
    EXPECT_TRUE(ran);
    EXPECT_EQ(m_failures.size(), 1);
}

TEST_F(StartupTest, ClosingTheWindowWhileDownloadsRunStopsAndJoinsEveryWorker) {
    const int threadsBefore = apptest::ThreadCount();
    // The main window runs; the wizard that opens at start is cancelled.
    skintest::ModalScript script;
    script.LeaveAlone<CMainDlg>();
    int downloadsRunning = 0;
    qint64 takeDownMs = -1;
    {
        twtest::HttpServer server;
        twtest::HttpReply stall;
        stall.delivery = twtest::HttpReply::Delivery::Stall;
        server.SetDefaultReply(stall);
        const QString url = QString::fromStdString(server.Url("/slow"));
        QElapsedTimer sinceClose;
        QElapsedTimer sinceStart;
        sinceStart.start();

        m_options.runMainWindow = [&](CMainDlg& dlg) {
            auto project = std::make_unique<apptest::TestProject>(g_pCrawler->TakeProjectId());
            project->duringStep = [&] {
                while (CDownloader* d = g_pCrawler->GetFreeDownloader())
                    d->Start(url);
            };
            QTimer::singleShot(0, [&dlg, &project] { dlg.AddProject(std::move(project)); });
            // Close once the tick started the downloads and the server holds them (the wizard that opens
            // at start holds the tick while it is open).
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                for (const auto& d : g_pCrawler->GetDownloaders()) {
                    const int state = d->m_state.load();
                    downloadsRunning += state == CDownloader::kQueued || state == CDownloader::kProcessing;
                }
                if (downloadsRunning == 0 && !sinceStart.hasExpired(10000))
                    return;
                poll.stop();
                sinceClose.start();
                dlg.OnCommand(u"Default_close"_s, 0);
            });
            poll.start(100);
            dlg.DoModal();
        };
        ASSERT_TRUE(Run());
        takeDownMs = sinceClose.elapsed();
    }
    EXPECT_GT(downloadsRunning, 0);
    EXPECT_LT(takeDownMs, 5000) << "stopping interrupts the exchanges instead of waiting for their time-out";
    EXPECT_EQ(apptest::ThreadCount(), threadsBefore);
}
