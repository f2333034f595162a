#pragma once

#include "app/new_project_dlg.h"
#include "core/atomic_file.h"
#include "core/clock.h"
#include "parsers/bing_search.h"
#include "parsers/endpoints.h"
#include "parsers/google_search.h"
#include "parsers/yahoo_search.h"
#include "projects/competition/project5.h"
#include "tests/app/app_test_support.h"
#include "tests/support/http_server.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <atomic>
#include <chrono>
#include <functional>

namespace kind5test {

inline QString DataFile(const QString& name) {
    return QStringLiteral(TW_PROJECTS_TEST_DATA_DIR "/kind5/") + name;
}

inline std::string DataText(const QString& name) {
    QByteArray bytes;
    EXPECT_TRUE(ReadWholeFile(DataFile(name), bytes)) << name.toStdString();
    return bytes.toStdString();
}

inline QByteArray FileBytes(const QString& path) {
    QByteArray bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

// The wall clock of the checks, set by the test; the monotonic clock stays real for the download pool.
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

// One run of the program on a data folder that outlives it: the crawler, the main window with the real kinds
// and a script playing the user.
class Program {
  public:
    explicit Program(const QTemporaryDir& root) : m_crawler(root) {
        dlg.m_makeProject = NewProjectOfKind;
        dlg.Open();
        dlg.killTimer(CMainDlg::kWizardTimer);
    }
    ~Program() { dlg.Close(); }

    // Chooses kind 5 in the wizard; the open kind-5 project, or the new one.
    CProject5& OpenMonitor() {
        script.Then(apptest::ModalScript::On<CNewProjectDlg>(
            [](CNewProjectDlg& wizard) { apptest::ClickElement(wizard, wizard.m_kindButtons[4]); }));
        dlg.OnCommand(QStringLiteral("new_project"), 0);
        return Monitor();
    }
    CProject5& Monitor() {
        const int tab = dlg.FindProjectOfKind(5);
        EXPECT_GE(tab, 0);
        return dynamic_cast<CProject5&>(*dlg.m_projects.at(size_t(tab)));
    }
    // Runs the project tick until done says so, for at most ms.
    bool TickUntil(const std::function<bool()>& done, int ms = 10000) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < ms) {
            dlg.ProjectTick();
            QTest::qWait(5);
        }
        return done();
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

  public:
    apptest::ModalScript script;

  private:
    Crawler m_crawler;

  public:
    apptest::TestMainDlg dlg;
};

// The result pages of the three engines, each served by a loopback server of its own.
class Engines {
  public:
    Engines() {
        for (int i = 0; i < 3; ++i)
            endpoints::set(kEndpoints[i],
                           {QStringLiteral("http"), QStringLiteral("127.0.0.1"), servers[i].Port(), {}});
    }
    ~Engines() { endpoints::resetToDefaults(); }

    static constexpr Endpoint kEndpoints[3] = {Endpoint::GoogleWeb, Endpoint::BingWeb, Endpoint::YahooWeb};

    // The path and query an engine's result page for keyword is asked under.
    static std::string Target(int engine, const QString& keyword);
    void Serve(int engine, const QString& page) { servers[engine].SetDefaultReply(Page(page)); }
    void Serve(int engine, const QString& keyword, twtest::HttpReply reply) {
        servers[engine].SetReply(Target(engine, keyword), std::move(reply));
    }
    static twtest::HttpReply Page(const QString& name) {
        twtest::HttpReply reply;
        reply.headers = {{"Content-Type", "text/html; charset=utf-8"}};
        reply.body = DataText(name);
        return reply;
    }
    int RequestCount() const {
        return int(servers[0].Requests().size() + servers[1].Requests().size() +
                   servers[2].Requests().size());
    }

    twtest::HttpServer servers[3];
};

inline std::string Engines::Target(int engine, const QString& keyword) {
    QString url;
    if (engine == 0)
        CDownloader_Parsers::BuildGoogleSearchUrl(url, keyword, -1, -1);
    else if (engine == 1)
        CDownloader_Parsers::BuildBingSearchUrl(url, keyword, -1, -1);
    else
        CDownloader_Parsers::BuildYahooSearchUrl(url, keyword, -1, -1);
    return url.mid(endpoints::baseUrl(kEndpoints[engine]).size()).toStdString();
}

} // namespace kind5test
