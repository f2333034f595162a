// Save and load of a large saved document (a project with many records), beside libxml2 saving and reading
// the same records as XML. Both saves end with the file on disk (fsync). The headline is the first load in a
// fresh process, as a user opening a project meets it: the program starts itself as the child that loads
// (--first-load <ours|libxml2> <file>). The repeated loads report the heap the loaded tree holds (mallinfo2,
// in use after the load minus before it), measured in a load of its own outside the timing: mallinfo2 walks
// the allocator's free lists, which after a large tree was freed costs tens of milliseconds.
#include "bench/fresh_process.h"
#include "net/saved_file.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <malloc.h>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Node = CDownloader_HTMLTags;

constexpr int kRecords = 100000;

struct Record {
    std::string keyword;
    int searches;
    std::string avgCpc;
    bool checked;
};

const std::vector<Record>& SampleRecords() {
    static const std::vector<Record> kMade = [] {
        std::vector<Record> out;
        for (int i = 0; i < kRecords; ++i) {
            const float cpc = 0.25f * static_cast<float>(i % 97);
            out.push_back({"blue widget & gadget " + std::to_string(i), i * 13,
                           QString::number(double(cpc), 'f', 6).toStdString(), i % 2 == 0});
        }
        return out;
    }();
    return kMade;
}

Node MakeDocument() {
    Node root;
    Node* project = root.AddChild(QStringLiteral("Project1"), false);
    project->AddChild(QStringLiteral("main_keyword"), true)->SetText(QStringLiteral("blue widgets"));
    Node* list = project->AddChild(QStringLiteral("keywords"), true);
    for (const Record& r : SampleRecords()) {
        Node* record = list->AddChild(QStringLiteral("kw"), false);
        record->AddChild(QStringLiteral("keyword"), true)->SetText(QString::fromStdString(r.keyword));
        record->AddChild(QStringLiteral("searches"), true)->SetInt(r.searches);
        record->AddChild(QStringLiteral("avgCPC"), true)->SetText(QString::fromStdString(r.avgCpc));
        record->AddChild(QStringLiteral("checked"), true)->SetBool(r.checked);
    }
    return root;
}

const xmlChar* X(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

xmlDocPtr MakeXmlDocument() {
    xmlDocPtr doc = xmlNewDoc(X("1.0"));
    xmlNodePtr project = xmlNewNode(nullptr, X("Project1"));
    xmlDocSetRootElement(doc, project);
    xmlNewTextChild(project, nullptr, X("main_keyword"), X("blue widgets"));
    xmlNodePtr list = xmlNewChild(project, nullptr, X("keywords"), nullptr);
    for (const Record& r : SampleRecords()) {
        xmlNodePtr record = xmlNewChild(list, nullptr, X("kw"), nullptr);
        xmlNewTextChild(record, nullptr, X("keyword"), X(r.keyword.c_str()));
        xmlNewTextChild(record, nullptr, X("searches"), X(std::to_string(r.searches).c_str()));
        xmlNewTextChild(record, nullptr, X("avgCPC"), X(r.avgCpc.c_str()));
        xmlNewTextChild(record, nullptr, X("checked"), X(r.checked ? "true" : "false"));
    }
    return doc;
}

bool SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

void BmSaveRecords(benchmark::State& state) {
    const Node document = MakeDocument();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.twpx"));
    for (auto _ : state) {
        if (!SaveTreeToFile(document, path)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetLabel(std::to_string(SavedFileBytes(document).size()) + " bytes");
}
BENCHMARK(BmSaveRecords)->Unit(benchmark::kMillisecond);

void BmSaveRecordsLibxml2(benchmark::State& state) {
    xmlDocPtr doc = MakeXmlDocument();
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("bench.xml")).toStdString();
    for (auto _ : state) {
        if (xmlSaveFile(path.c_str(), doc) < 0 || !SyncFile(path)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    xmlFreeDoc(doc);
}
BENCHMARK(BmSaveRecordsLibxml2)->Unit(benchmark::kMillisecond);

// Ours: the file read and parsed into a tree, and its records found.
std::unique_ptr<Node> LoadOurs(const QString& path) {
    auto root = std::make_unique<Node>();
    LoadTreeFromFile(*root, path);
    std::vector<const Node*> found;
    std::as_const(*root).FindAll(found, {.tag = QStringLiteral("kw")});
    return found.size() == size_t(kRecords) ? std::move(root) : nullptr;
}

// libxml2: the file read into a document, and its records counted.
xmlDocPtr LoadLibxml2(const std::string& path) {
    xmlDocPtr doc = xmlReadFile(path.c_str(), nullptr, 0);
    int count = 0;
    for (xmlNodePtr project = doc ? xmlDocGetRootElement(doc) : nullptr; project; project = nullptr)
        for (xmlNodePtr list = project->children; list; list = list->next)
            for (xmlNodePtr record = list->children; record; record = record->next)
                count += record->type == XML_ELEMENT_NODE && xmlStrEqual(record->name, X("kw"));
    if (count == kRecords)
        return doc;
    xmlFreeDoc(doc);
    return nullptr;
}

// The part of the child that is timed, and whose instructions are counted; the loaded tree is kept.
[[gnu::noinline]] bool TimedLoad(const char* loader, const char* path) {
    if (std::strcmp(loader, "ours") == 0)
        return LoadOurs(QString::fromLocal8Bit(path)).release() != nullptr;
    return LoadLibxml2(path) != nullptr;
}

// The child: one load, timed; prints the microseconds, then the heap the tree holds in bytes.
int FirstLoadChild(const char* loader, const char* path) {
    const size_t before = HeapInUse();
    const auto start = std::chrono::steady_clock::now();
    const bool loaded = TimedLoad(loader, path);
    const auto end = std::chrono::steady_clock::now();
    if (!loaded)
        return 1;
    std::printf(
        "%lld %zu\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(end - start).count()),
        HeapInUse() - before);
    std::fflush(stdout);
    std::_Exit(0); // the tree's release is no part of opening a project
}

constexpr int kFirstLoadPairs = 21;

// Fresh children per loader, taking turns, on the same records; the counters are the medians, libxml2's
// time over ours, the median of each pair's ratio, and (when valgrind is installed) libxml2's instructions
// in the load over ours.
void BmFirstLoadBesideLibxml2(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string ours = dir.filePath(QStringLiteral("bench.twpx")).toStdString();
    const std::string theirs = dir.filePath(QStringLiteral("bench.xml")).toStdString();
    SaveTreeToFile(MakeDocument(), QString::fromStdString(ours));
    xmlDocPtr made = MakeXmlDocument();
    xmlSaveFile(theirs.c_str(), made);
    xmlFreeDoc(made);
    std::vector<double> oursMs, theirsMs, pairRatios;
    for (auto _ : state) {
        for (int run = 0; run < kFirstLoadPairs; ++run) {
            const std::optional<double> a = freshprocess::RunChild({"--first-load", "ours", ours});
            const std::optional<double> b = freshprocess::RunChild({"--first-load", "libxml2", theirs});
            if (!a || !b) {
                state.SkipWithError("a child failed");
                return;
            }
            oursMs.push_back(*a);
            theirsMs.push_back(*b);
            pairRatios.push_back(*b / *a);
        }
    }
    state.counters["pairs"] = double(oursMs.size());
    state.counters["ours_ms"] = freshprocess::Median(oursMs);
    state.counters["libxml2_ms"] = freshprocess::Median(theirsMs);
    state.counters["speed_x"] = freshprocess::Median(theirsMs) / freshprocess::Median(oursMs);
    state.counters["pairwise_x"] = freshprocess::Median(pairRatios);
    const std::string folder = dir.path().toStdString();
    const std::optional<double> oursInstructions =
        freshprocess::CountChildInstructions({"--first-load", "ours", ours}, "TimedLoad", folder);
    const std::optional<double> theirsInstructions =
        freshprocess::CountChildInstructions({"--first-load", "libxml2", theirs}, "TimedLoad", folder);
    if (oursInstructions && theirsInstructions && *oursInstructions > 0) {
        state.counters["ours_Minstr"] = *oursInstructions / 1e6;
        state.counters["libxml2_Minstr"] = *theirsInstructions / 1e6;
        state.counters["instr_x"] = *theirsInstructions / *oursInstructions;
    } else {
        state.SetLabel("no instruction counts: valgrind is not installed or failed");
    }
}
BENCHMARK(BmFirstLoadBesideLibxml2)->Iterations(1)->Unit(benchmark::kMillisecond);

void BmLoadRecords(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.twpx"));
    SaveTreeToFile(MakeDocument(), path);
    const size_t before = HeapInUse();
    std::unique_ptr<Node> measured = LoadOurs(path);
    state.counters["heap_MB"] = double(HeapInUse() - before) / 1e6;
    measured.reset();
    for (auto _ : state) {
        std::unique_ptr<Node> root = LoadOurs(path);
        if (!root) {
            state.SkipWithError("records lost");
            break;
        }
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BmLoadRecords)->Unit(benchmark::kMillisecond);

void BmLoadRecordsLibxml2(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("bench.xml")).toStdString();
    xmlDocPtr made = MakeXmlDocument();
    xmlSaveFile(path.c_str(), made);
    xmlFreeDoc(made);
    const size_t before = HeapInUse();
    xmlDocPtr measured = LoadLibxml2(path);
    state.counters["heap_MB"] = double(HeapInUse() - before) / 1e6;
    xmlFreeDoc(measured);
    for (auto _ : state) {
        xmlDocPtr doc = LoadLibxml2(path);
        if (!doc) {
            state.SkipWithError("records lost");
            break;
        }
        state.PauseTiming();
        xmlFreeDoc(doc);
        state.ResumeTiming();
    }
}
BENCHMARK(BmLoadRecordsLibxml2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--first-load") == 0)
        return FirstLoadChild(argv[2], argv[3]);
    freshprocess::SelfPath() = argv[0];
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
