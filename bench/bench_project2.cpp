// Kind 2 at the size of a large project: one step that takes a finished result page, parses it (as the
// worker does), copies the records and updates the 1,000-row keyword report; and save and open of the
// finished 1,000-keyword project. The project is made by a real run against the loopback fixture server of
// the tests.
#include "app/project_file.h"
#include "core/limits.h"
#include "core/text_convert.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/saved_file.h"
#include "parsers/endpoints.h"
#include "parsers/google_search.h"
#include "parsers/picture_code_prompt.h"
#include "platform/device_context.h"
#include "projects/kind2/project2.h"
#include "resources/skin_resources.h"
#include "skin/skin_atlas.h"
#include "skin/skin_dlg.h"
#include "tests/support/http_server.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kKeywords = 1000;
// The keyword whose Google page the step benchmark takes: the last one, which its lane asks for last.
constexpr int kStepKeyword = kKeywords - 1;

std::string ReadPage(const char* name) {
    QFile file(QStringLiteral(TW_PROJECTS_TEST_DATA_DIR "/kind2/") + QLatin1StringView(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

QString Keyword(int i) {
    return u"blue widget "_s + QString::number(i);
}

// The keyword tool's answer: a row for every keyword.
std::string ToolReply() {
    std::string reply = "var criteria = new Array();\n";
    for (int i = 0; i < kKeywords; ++i)
        reply += "criteria[" + std::to_string(i) + "] = new kpCriterion('" + Keyword(i).toStdString() +
                 "', 'f1', '" + std::to_string(100 + i * 7) + "', 'f3', 'f4', 'f5', '0.5', '$" +
                 std::to_string(i % 9) +
                 ".25', 'f8', '2', 'f10', 'f11', 'f12', 'f13', 'f14', 'f15', kpView.MATCH_EXACT);\n";
    return reply;
}

// The view a project page lives in, opened without a modal loop and hidden again.
class PageDialog : public CSkinDlg {
  public:
    PageDialog() {
        m_width = 1280;
        m_height = 800;
        m_keepPosition = true;
        onInitDialog();
        onActivate(true);
        hide();
    }
    void CreateElements() override {}
};

// The crawler, the fixture server with every service of kind 2 pointed at it, the page, and the saved
// project files: "finished" after a whole run, "pending" the same with one Google page still to be asked.
class Kind2Bench {
  public:
    static Kind2Bench& Get() {
        if (!s_bench)
            s_bench.reset(new Kind2Bench);
        return *s_bench;
    }
    // Before the application object goes: the page is a window.
    static void Drop() { s_bench.reset(); }

    ~Kind2Bench() {
        crawler.StopAll();
        crawler.Shutdown();
        g_pCrawler = nullptr;
        endpoints::ResetToDefaults();
        InstallPictureCodePrompt({});
    }

    std::unique_ptr<CProject2> Open(const QString& path) {
        CDownloader_HTMLTags tree;
        LoadTreeFromFile(tree, path);
        auto project = std::make_unique<CProject2>(crawler.TakeProjectId());
        project->InitInfo();
        project->CreateView(&page.m_rootHolder, &page.m_nextElementId);
        project->LoadXml(&tree);
        return project;
    }

    // Steps the project as the tick does until it stops.
    void RunToEnd(CProject2& project) {
        while (project.IsRunning()) {
            crawler.SetCurrentJob(project.m_id);
            project.Process();
            crawler.SetCurrentJob(-1);
            QThread::usleep(50);
        }
    }

    // The pool slot of the project whose reply is in, or null.
    CDownloader* FinishedSlot(int id) {
        for (const auto& downloader : crawler.GetDownloaders())
            if (downloader->m_jobId.load() == id && downloader->IsFinished())
                return downloader.get();
        return nullptr;
    }

    QTemporaryDir home;
    CProjectCrawler crawler{{home.path(), home.filePath(u"data"_s), {}, {}}};
    twtest::HttpServer server;
    PageDialog page;
    QString finished = home.filePath(u"finished.twpx"_s);
    QString pending = home.filePath(u"pending.twpx"_s);

  private:
    static inline std::unique_ptr<Kind2Bench> s_bench;

    Kind2Bench() {
        crawler.Init();
        crawler.allowCourtesy = false;
        g_pCrawler = &crawler;
        const auto point = [&](Endpoint endpoint, const char* prefix) {
            endpoints::Set(endpoint, {u"http"_s, u"127.0.0.1"_s, server.Port(), QString::fromLatin1(prefix)});
        };
        point(Endpoint::GoogleKeywordTool, "/tool");
        point(Endpoint::GoogleWeb, "/google");
        point(Endpoint::BingWeb, "/bing");
        point(Endpoint::YahooWeb, "/yahoo");
        point(Endpoint::BingAdLab, "/adlab");
        server.SetReply("/tool/select/KeywordToolCaptcha", twtest::HttpReply::Page("picture", "image/jpeg"));
        server.SetReply("/tool/select/VariationsTool",
                        twtest::HttpReply::Page(ToolReply(), "text/javascript"));
        const twtest::HttpReply google = twtest::HttpReply::Page(ReadPage("google_red.html"));
        server.SetReply("/google/search", google);
        server.SetReply("/bing/search", twtest::HttpReply::Page(ReadPage("bing_red.html")));
        server.SetReply("/yahoo/search", twtest::HttpReply::Page(ReadPage("yahoo_red.html")));
        std::string intent = ReadPage("intent.html");
        intent.replace(intent.find("%QUERY%"), 7, "red shoes");
        intent.replace(intent.find("%VALUE%"), 7, "0.5");
        server.SetReply("/adlab/Online-Commercial-Intention/Default.aspx", twtest::HttpReply::Page(intent));
        InstallPictureCodePrompt([](CSkinDlg_Base*, const CDownloader&, QString& answer) {
            answer = u"code"_s;
            return kPictureCodeOk;
        });

        // One Google page does not answer until the other requests are done: the run stops there and is
        // saved as the pending project, then finishes.
        QString stepUrl;
        CDownloader_Parsers::BuildGoogleSearchUrl(stepUrl, Keyword(kStepKeyword), -1, -1);
        const std::string stepTarget = stepUrl.mid(stepUrl.indexOf(u"/google/"_s)).toStdString();
        server.SetReply(stepTarget, twtest::HttpReply::With(twtest::HttpReply::Delivery::Stall));

        QStringList keywords;
        for (int i = 0; i < kKeywords; ++i)
            keywords.append(Keyword(i));
        CDownloader_HTMLTags start;
        start.AddChild(u"Project2"_s, false)
            ->AddChild(u"main_keyword"_s, false)
            ->SetText(keywords.join(u';') + u';');
        SaveTreeToFile(start, pending);
        std::unique_ptr<CProject2> project = Open(pending);
        project->Start();
        const auto othersDone = [&] {
            for (int i = 0; i < kKeywords; ++i) {
                const CProject2_Keyword& r = project->Records()[size_t(i)];
                if (r.intent == -1.0f || r.tool.estimatedSearch == -1.0f ||
                    r.Engine(Project2Engine::Bing).adCount == -1 ||
                    r.Engine(Project2Engine::Yahoo).adCount == -1 ||
                    (i != kStepKeyword && r.Engine(Project2Engine::Google).adCount == -1))
                    return false;
            }
            return true;
        };
        while (!othersDone()) {
            crawler.SetCurrentJob(project->m_id);
            project->Process();
            crawler.SetCurrentJob(-1);
            QThread::usleep(50);
        }
        project->Stop();
        SaveTreeToFile(ProjectFileTree(*project), pending);
        server.SetReply(stepTarget, google);
        project->Start();
        RunToEnd(*project);
        SaveTreeToFile(ProjectFileTree(*project), finished);
    }
};

void BmProject2ProcessStep(benchmark::State& state) {
    Kind2Bench& bench = Kind2Bench::Get();
    for (auto _ : state) {
        std::unique_ptr<CProject2> project = bench.Open(bench.pending);
        project->Start();
        bench.crawler.SetCurrentJob(project->m_id);
        project->Process();
        while (!bench.FinishedSlot(project->m_id))
            QThread::usleep(20);
        CDownloader* slot = bench.FinishedSlot(project->m_id);
        // The worker turned the page into a tree before the step saw it: the same decoding and parse of the
        // same bytes is timed with the step.
        const QByteArray page = slot->Response().raw;
        QElapsedTimer clock;
        clock.start();
        CDownloader_HTMLTags tree;
        tree.Parse(Utf8ToWide(page), limits::kMaxPageNodes);
        benchmark::DoNotOptimize(&tree);
        const qint64 parse = clock.nsecsElapsed();
        clock.restart();
        project->Process();
        project->KeywordReport().Rebuild();
        state.SetIterationTime(double(parse + clock.nsecsElapsed()) / 1e9);
        bench.crawler.SetCurrentJob(-1);
        if (page.isEmpty() || project->IsRunning() ||
            project->Records()[kStepKeyword].Engine(Project2Engine::Google).adCount != 3)
            state.SkipWithError("the step did not take the page");
    }
}
BENCHMARK(BmProject2ProcessStep)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(30);

void BmProject2Save(benchmark::State& state) {
    Kind2Bench& bench = Kind2Bench::Get();
    std::unique_ptr<CProject2> project = bench.Open(bench.finished);
    const QString path = bench.home.filePath(u"saved.twpx"_s);
    for (auto _ : state) {
        const CDownloader_HTMLTags tree = ProjectFileTree(*project);
        if (!SaveTreeToFile(tree, path))
            state.SkipWithError("not saved");
    }
}
BENCHMARK(BmProject2Save)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

void BmProject2Open(benchmark::State& state) {
    Kind2Bench& bench = Kind2Bench::Get();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<CProject2> project = bench.Open(bench.finished);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (project->Records().size() != size_t(kKeywords))
            state.SkipWithError("not opened");
    }
}
BENCHMARK(BmProject2Open)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    plat::DeviceContext atlas;
    if (!atlas.loadImage(skin_resources::AtlasPath())) {
        std::fprintf(stderr, "the skin atlas could not be loaded\n");
        return 1;
    }
    skin::SetAtlas(&atlas);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Kind2Bench::Drop();
    skin::SetAtlas(nullptr);
    return 0;
}
