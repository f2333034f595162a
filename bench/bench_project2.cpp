// Kind 2 at the size of a large project: one step that takes a finished result page, parses it (as the
// worker does), copies the records and updates the 1,000-row keyword report; and save and open of the
// finished 1,000-keyword project. The project is made by a real run against the loopback fixture server of
// the tests.
#include "app/project_file.h"
#include "bench/user_path_project.h"
#include "core/limits.h"
#include "core/text_convert.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/saved_file.h"
#include "parsers/google_search.h"
#include "projects/kind2/project2.h"

#include <QElapsedTimer>
#include <QThread>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kKeywords = 1000;
// The keyword whose Google page the step benchmark takes: the last one, which its lane asks for last.
constexpr int kStepKeyword = kKeywords - 1;

using user_path::Keyword;

// The fixture with the page and the saved project files: "finished" after a whole run, "pending" the same
// with one Google page still to be asked.
class Kind2Bench {
  public:
    static Kind2Bench& Get() {
        if (!s_bench)
            s_bench.reset(new Kind2Bench);
        return *s_bench;
    }
    // Before the application object goes: the page is a window.
    static void Drop() { s_bench.reset(); }

    std::unique_ptr<CProject2> Open(const QString& path) { return fixture.Open(path, page); }

    // The pool slot of the project whose reply is in, or null.
    CDownloader* FinishedSlot(int id) {
        for (const auto& downloader : fixture.crawler.GetDownloaders())
            if (downloader->m_jobId.load() == id && downloader->IsFinished())
                return downloader.get();
        return nullptr;
    }

    user_path::Kind2Fixture fixture{kKeywords};
    user_path::PageDialog page;
    QString finished = fixture.home.filePath(u"finished.twpx"_s);
    QString pending = fixture.home.filePath(u"pending.twpx"_s);

  private:
    static inline std::unique_ptr<Kind2Bench> s_bench;

    Kind2Bench() {
        // One Google page does not answer until the other requests are done: the run stops there and is
        // saved as the pending project, then finishes.
        const std::string stepTarget = user_path::Kind2Fixture::Target(
            CDownloader_Parsers::BuildGoogleSearchUrl, u"/google"_s, kStepKeyword);
        fixture.server.SetReply(stepTarget, twtest::HttpReply::With(twtest::HttpReply::Delivery::Stall));

        user_path::Kind2Fixture::WriteStartFile(kKeywords, pending);
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
        fixture.StepWhile(*project, [&] { return !othersDone(); });
        project->Stop();
        SaveTreeToFile(ProjectFileTree(*project), pending);
        fixture.server.SetReply(stepTarget, twtest::HttpReply::Page(user_path::ReadPage("google_red.html")));
        project->Start();
        fixture.StepWhile(*project, [&] { return project->IsRunning(); });
        SaveTreeToFile(ProjectFileTree(*project), finished);
    }
};

void BmProject2ProcessStep(benchmark::State& state) {
    Kind2Bench& bench = Kind2Bench::Get();
    for (auto _ : state) {
        std::unique_ptr<CProject2> project = bench.Open(bench.pending);
        project->Start();
        bench.fixture.crawler.SetCurrentJob(project->m_id);
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
        bench.fixture.crawler.SetCurrentJob(-1);
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
    const QString path = bench.fixture.home.filePath(u"saved.twpx"_s);
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
    return user_path::RunBenchmarks(
        argc, argv, [] { Kind2Bench::Drop(); });
}
