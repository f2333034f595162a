// Opening and saving a large kind-2 project the way the user does it: the open and save commands of the real
// main window, with the file dialog answered by a script. Open is the whole command (read the file, decide
// the kind, make the project and load its records, build its tab) and the first paint of the window, which
// builds the report's rows; save is the whole command up to the file on disk. The projects, of 10,000 and
// 100,000 keywords, are made by a real run against the tests' fixture server and scaled up.
#include "app/main_dlg.h"
#include "bench/user_path_project.h"
#include "platform/file_dialog.h"
#include "projects/project_factory.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <malloc.h>
#include <map>

using namespace Qt::StringLiterals;

namespace {

// The main window, opened without its modal loop, with the real kinds and its own crawler; file dialogs
// answer with the path set last.
class UserPath {
  public:
    static UserPath& Get() {
        if (!s_path)
            s_path.reset(new UserPath);
        return *s_path;
    }
    // Before the application object goes: the main window is a window.
    static void Drop() { s_path.reset(); }

    ~UserPath() {
        window.Close();
        plat::SetFileDialogScript(nullptr);
    }

    // The project file of that many keywords, made on first use.
    const QString& ProjectOf(int rows) {
        auto found = m_files.find(rows);
        if (found == m_files.end()) {
            const QString path = m_dir.filePath(u"project"_s + QString::number(rows) + u".twpx"_s);
            if (!user_path::WriteUserPathProject(fixture, rows, path))
                std::fprintf(stderr, "the %d-keyword project could not be made\n", rows);
            found = m_files.emplace(rows, path).first;
        }
        return found->second;
    }

    bool Open(const QString& path) {
        m_answer = path;
        window.OnCommand(u"open"_s, 0);
        window.Paint();
        return !window.m_projects.empty();
    }
    void Save(const QString& path) {
        m_answer = path;
        window.OnCommand(u"save"_s, 0);
    }
    void CloseAll() {
        while (!window.m_projects.empty())
            window.OnCommand(u"close_project"_s, 0);
    }
    const CProject2* Current() const {
        return window.m_projects.empty() ? nullptr
                                         : dynamic_cast<const CProject2*>(window.m_projects.back().get());
    }
    QString SavePath() const { return m_dir.filePath(u"saved.twpx"_s); }

  private:
    class MainWindow : public CMainDlg {
      public:
        void Open() {
            onInitDialog();
            onActivate(true);
            killTimer(kWizardTimer);
            killTimer(kProjectTimer);
        }
        void Paint() { redrawNow(); }
        void Close() {
            hide();
            onDestroy();
        }
    };

    UserPath() {
        plat::SetFileDialogScript([this](const plat::FileDialogRequest&) {
            plat::FileDialogAnswer answer;
            answer.path = m_answer;
            return answer;
        });
        window.m_makeProject = NewProjectOfKind;
        window.Open();
    }

    static inline std::unique_ptr<UserPath> s_path;
    QTemporaryDir m_dir;
    std::map<int, QString> m_files;
    QString m_answer;

  public:
    // After the answer the script reads and before the window, whose projects need the crawler.
    user_path::Kind2Fixture fixture{user_path::kRunKeywords};
    MainWindow window;
};

// What the heap holds, outside any timing.
double HeapInUse() {
    return double(mallinfo2().uordblks);
}

// 10,000 and 100,000 keywords; one command a run, timed by hand.
void Sizes(benchmark::internal::Benchmark* bench) {
    bench->Arg(10000)
        ->Arg(100000)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(5);
}

void BmUserPathOpen(benchmark::State& state) {
    UserPath& path = UserPath::Get();
    const int rows = int(state.range(0));
    const QString& file = path.ProjectOf(rows);
    path.CloseAll();
    const double heapBefore = HeapInUse();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const bool opened = path.Open(file);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        const CProject2* project = path.Current();
        if (!opened || !project || project->Records().size() != size_t(rows))
            state.SkipWithError("not opened");
        state.counters["heap_MB"] = (HeapInUse() - heapBefore) / 1e6;
        path.CloseAll();
    }
    state.counters["file_MB"] = double(QFileInfo(file).size()) / 1e6;
}
BENCHMARK(BmUserPathOpen)->Apply(Sizes);

void BmUserPathSave(benchmark::State& state) {
    UserPath& path = UserPath::Get();
    const int rows = int(state.range(0));
    path.CloseAll();
    if (!path.Open(path.ProjectOf(rows))) {
        state.SkipWithError("not opened");
        return;
    }
    const QString saved = path.SavePath();
    for (auto _ : state) {
        QFile::remove(saved);
        QElapsedTimer clock;
        clock.start();
        path.Save(saved);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!QFileInfo::exists(saved))
            state.SkipWithError("not saved");
    }
    state.counters["file_MB"] = double(QFileInfo(saved).size()) / 1e6;
    path.CloseAll();
}
BENCHMARK(BmUserPathSave)->Apply(Sizes);

} // namespace

int main(int argc, char** argv) {
    return user_path::RunBenchmarks(
        argc, argv, [] { UserPath::Drop(); });
}
