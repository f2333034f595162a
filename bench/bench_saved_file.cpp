// Save and load of a large saved document (a project with many records).
#include "net/saved_file.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using Node = CDownloader_HTMLTags;

constexpr int kRecords = 100000;

Node makeDocument() {
    Node root;
    Node* project = root.AddChild(QStringLiteral("Project1"), false);
    project->AddChild(QStringLiteral("main_keyword"), true)->SetText(QStringLiteral("blue widgets"));
    Node* list = project->AddChild(QStringLiteral("keywords"), true);
    for (int i = 0; i < kRecords; ++i) {
        Node* record = list->AddChild(QStringLiteral("kw"), false);
        record->AddChild(QStringLiteral("keyword"), true)
            ->SetText(QStringLiteral("blue widget & gadget %1").arg(i));
        record->AddChild(QStringLiteral("searches"), true)->SetInt(i * 13);
        record->AddChild(QStringLiteral("avgCPC"), true)->SetFloat(0.25f * static_cast<float>(i % 97));
        record->AddChild(QStringLiteral("checked"), true)->SetBool(i % 2 == 0);
    }
    return root;
}

void BM_SaveRecords(benchmark::State& state) {
    const Node document = makeDocument();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.twpx"));
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveTreeToFile(document, path));
    state.SetLabel(std::to_string(SavedFileBytes(document).size()) + " bytes");
}
BENCHMARK(BM_SaveRecords)->Unit(benchmark::kMillisecond);

void BM_LoadRecords(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.twpx"));
    SaveTreeToFile(makeDocument(), path);
    for (auto _ : state) {
        Node root;
        LoadTreeFromFile(root, path);
        std::vector<const Node*> records;
        root.FindAll(records, {.tag = QStringLiteral("kw")});
        benchmark::DoNotOptimize(records.size());
    }
}
BENCHMARK(BM_LoadRecords)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
