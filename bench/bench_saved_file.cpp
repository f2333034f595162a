// Save and load of a large saved document (a project with many records), beside libxml2 saving and reading
// the same records as XML. Both saves end with the file on disk (fsync). The load benchmarks report the heap
// the loaded tree holds (mallinfo2, in use after the load minus before it).
#include "net/saved_file.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <malloc.h>
#include <string>
#include <unistd.h>

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
    static const std::vector<Record> made = [] {
        std::vector<Record> out;
        for (int i = 0; i < kRecords; ++i) {
            const float cpc = 0.25f * static_cast<float>(i % 97);
            out.push_back({"blue widget & gadget " + std::to_string(i), i * 13,
                           QString::number(double(cpc), 'f', 6).toStdString(), i % 2 == 0});
        }
        return out;
    }();
    return made;
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

void BmLoadRecords(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.twpx"));
    SaveTreeToFile(MakeDocument(), path);
    size_t heap = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        auto root = std::make_unique<Node>();
        LoadTreeFromFile(*root, path);
        std::vector<const Node*> found;
        std::as_const(*root).FindAll(found, {.tag = QStringLiteral("kw")});
        if (found.size() != size_t(kRecords)) {
            state.SkipWithError("records lost");
            break;
        }
        state.PauseTiming();
        found = {};
        heap = HeapInUse() - before;
        root.reset();
        state.ResumeTiming();
    }
    state.counters["heap_MB"] = double(heap) / 1e6;
}
BENCHMARK(BmLoadRecords)->Unit(benchmark::kMillisecond);

void BmLoadRecordsLibxml2(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("bench.xml")).toStdString();
    xmlDocPtr made = MakeXmlDocument();
    xmlSaveFile(path.c_str(), made);
    xmlFreeDoc(made);
    size_t heap = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        xmlDocPtr doc = xmlReadFile(path.c_str(), nullptr, 0);
        int count = 0;
        for (xmlNodePtr project = xmlDocGetRootElement(doc); project; project = nullptr)
            for (xmlNodePtr list = project->children; list; list = list->next)
                for (xmlNodePtr record = list->children; record; record = record->next)
                    count += record->type == XML_ELEMENT_NODE && xmlStrEqual(record->name, X("kw"));
        if (count != kRecords) {
            state.SkipWithError("records lost");
            break;
        }
        state.PauseTiming();
        heap = HeapInUse() - before;
        xmlFreeDoc(doc);
        state.ResumeTiming();
    }
    state.counters["heap_MB"] = double(heap) / 1e6;
}
BENCHMARK(BmLoadRecordsLibxml2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
