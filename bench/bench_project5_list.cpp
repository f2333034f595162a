// Loading the monitoring list of kind 5 from its file, at 10,000, 100,000 and 1,000,000 watched pairs, each
// with two dated checks. Every fiftieth pair repeats an earlier one in another letter case, so the load's
// repeated-pair rule has work to do; the file is made once per size before the timing starts.
#include "net/saved_file.h"
#include "projects/kind5/project5_list.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRepeatEvery = 50;

CProject5_List MakeList(int pairs) {
    CProject5_List list;
    list.m_entries.reserve(size_t(pairs));
    for (int i = 0; i < pairs; ++i) {
        CProject5_Entry entry;
        const int pair = i % kRepeatEvery == kRepeatEvery - 1 ? i / 2 : i;
        entry.m_keyword = (i == pair ? u"running shoes "_s : u"Running Shoes "_s) + QString::number(pair / 7);
        entry.m_site = u"shop"_s + QString::number(pair % 7919) + u".example"_s;
        for (int day = 0; day < 2; ++day) {
            CProject5_Check check;
            check.m_date = 1'000'000 + day * 1440;
            check.m_positions[0] = (i + day) % 9;
            check.m_positions[1] = 0;
            check.m_positions[2] = task_value::kNoData;
            entry.m_checks.push_back(check);
        }
        list.m_entries.push_back(std::move(entry));
    }
    return list;
}

// The list file of pairs pairs, written once for the whole run.
const QString& ListFile(int pairs) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    QString& path = made[pairs];
    if (path.isEmpty()) {
        path = dir.filePath(u"project5_%1.zxml"_s.arg(pairs));
        if (!MakeList(pairs).SaveFile(path))
            path.clear();
    }
    return path;
}

void BM_LoadList(benchmark::State& state) {
    const int pairs = int(state.range(0));
    const QString& path = ListFile(pairs);
    if (path.isEmpty()) {
        state.SkipWithError("the list file could not be written");
        return;
    }
    size_t loaded = 0;
    for (auto _ : state) {
        CProject5_List list;
        if (list.LoadFile(path) != CProject5_List::FileState::Loaded) {
            state.SkipWithError("the list did not load");
            return;
        }
        loaded = list.m_entries.size();
        benchmark::DoNotOptimize(list.m_entries.data());
    }
    state.counters["pairs"] = double(loaded);
    state.SetItemsProcessed(int64_t(state.iterations()) * pairs);
}
BENCHMARK(BM_LoadList)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The floor under the load: reading the same file into a tree, as every saved file is read.
void BM_ReadListTree(benchmark::State& state) {
    const QString& path = ListFile(int(state.range(0)));
    for (auto _ : state) {
        CDownloader_HTMLTags tree;
        if (!LoadTreeFromFile(tree, path)) {
            state.SkipWithError("the list file could not be read");
            return;
        }
        benchmark::DoNotOptimize(tree.GetChildren().data());
    }
}
BENCHMARK(BM_ReadListTree)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
