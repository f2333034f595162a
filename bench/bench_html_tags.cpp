// The page parser and its queries on a large synthetic search-results page, and on hostile inputs that
// must stay linear. The first parse in a fresh process, with the UTF-8 decoding, is measured beside
// libxml2's HTML parser on the same bytes: the program starts itself as the child that parses
// (--first-parse <ours|libxml2> <file>).
#include "bench/fresh_process.h"
#include "core/text_convert.h"
#include "net/html_tags.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <libxml/HTMLparser.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Node = CDownloader_HTMLTags;

constexpr qsizetype kPageSize = 5 * 1024 * 1024;

// A results page in the usual shape: head with style and script, then nested result blocks with attributes,
// entities, CR LF indentation and now and then an inline script with markup in its strings.
QString MakeResultsPage() {
    QString page = QStringLiteral(
        "<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>blue widgets - Search</title>\r\n"
        "<style>.g{margin:0} .r a{color:#12c}</style>\r\n"
        "<script>var q = \"blue widgets\"; function rwt(a,b){return a<b;}</script></head>\r\n"
        "<body><div id=\"main\"><div class=\"results\">\r\n");
    for (int n = 0; page.size() < kPageSize; ++n) {
        const QString id = QString::number(n);
        page +=
            QStringLiteral("  <div class=\"g result\" id=\"r") + id +
            QStringLiteral(
                "\">\r\n    <div class=\"rc\"><h3 class=\"r\"><a href=\"https://widgets.example/p?q=blue+"
                "widgets&amp;n=") +
            id + QStringLiteral("\" onmousedown=\"return rwt(this,'','','',") + id +
            QStringLiteral(")\">Blue &amp; red widgets &#8211; result ") + id +
            QStringLiteral("</a></h3>\r\n    <div class=\"s\"><cite>widgets.example/p/") + id +
            QStringLiteral("</cite><br><span class=\"st\">Compare  blue widgets, &quot;red&quot; gadgets and "
                           "more&nbsp;&hellip; prices from $") +
            id + QStringLiteral(" &lt;today&gt;.</span></div></div>\r\n  </div>\r\n");
        if (n % 10 == 0)
            page += QStringLiteral("<script>document.write('<div class=\"ad\">' + x + '</div>'); "
                                   "if (a<b && c>d) { track(") +
                    id + QStringLiteral("); }</script>\r\n");
    }
    page += QStringLiteral("</div></div></body></html>\r\n");
    return page;
}

const QString& ResultsPage() {
    static const QString kPage = MakeResultsPage();
    return kPage;
}

// size bytes shaped like a real results page: deep nesting, many attributes per tag, scripts with markup in
// their strings, named and numeric entities, paragraphs and list items left unclosed, comments.
QString MakeRealisticPage(qsizetype size) {
    QString page = QStringLiteral(
        "<!doctype html><html lang=\"en\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" "
        "content=\"width=device-width,initial-scale=1\"><title>cheap flights &amp; hotels - Search</title>"
        "<style>body{margin:0}.c>a{color:#1a0dab}</style><script nonce=\"x1\">(function(){var "
        "w=window,d=document;w.q=[];w.g=function(a){return a.indexOf('<b>')>-1&&a.length<20};})();</script>"
        "</head>\n<body class=\"srp vasq\" jsmodel=\"hspDDf\" marginheight=\"3\" topmargin=\"3\">"
        "<!-- page header -->\n");
    for (int n = 0; page.size() < size; ++n) {
        const QString id = QString::number(n);
        page +=
            QStringLiteral("<div class=\"MjjYud\"><div jscontroller=\"SC7lYd\" class=\"g Ww4FFb vt6azd "
                           "tF2Cxc asEBEc\" lang=\"en\" style=\"width:600px\" data-hveid=\"CA") +
            id + QStringLiteral("QAA\" data-ved=\"2ahUKEwj") + id +
            QStringLiteral("\"><div class=\"N54PNb BToiNc cvP2Ce\" data-snc=\"ih6Jnb_") + id +
            QStringLiteral("\"><div class=\"kb0PBd cvP2Ce jGGQ5e\" data-snf=\"x5WNvb\"><div class=\"yuRUbf\">"
                           "<div><span jscontroller=\"msmzHf\"><a jsname=\"UWckNb\" href=\"https://"
                           "travel.example/deals?id=") +
            id +
            QStringLiteral("&amp;src=srp&amp;utm_medium=organic\" data-ved=\"2ahUKE\" ping=\"/url?sa=t&amp;"
                           "source=web\"><br><h3 class=\"LC20lb MBeuO DKV0Md\">Cheap flights to city ") +
            id +
            QStringLiteral(" &ndash; book now &amp; save&nbsp;40&#37;</h3><div class=\"notranslate TbwUpd\">"
                           "<cite class=\"qLRx3b tjvcx\">travel.example<span class=\"dyjrff\"> &rsaquo; "
                           "deals</span></cite></div></a></span></div></div></div>\n<div class=\"kb0PBd "
                           "cvP2Ce\" data-sncf=\"1\"><div class=\"VwiC3b yXK7lf lVm3ye r025kc hJNv6b\" "
                           "style=\"-webkit-line-clamp:2\"><p>Compare <em>cheap flights</em> from 300+ "
                           "airlines &#8211; prices from &euro;") +
            id +
            QStringLiteral(".<p>Flexible dates, &quot;no fees&quot; &lt;guaranteed&gt;.\n<ul class=\"x\">"
                           "<li>Direct<li>1 stop<li>2+ stops</ul></div></div></div></div></div>\n");
        if (n % 8 == 0)
            page += QStringLiteral("<script>if(w.g('<div>')){d.write('<a href=\"#\">'+") + id +
                    QStringLiteral("+'</a>');}</script><!-- result block ") + id + QStringLiteral(" -->\n");
    }
    page += QStringLiteral("<div id=\"foot\"><table class=\"AaVjTc\"><tr><td>1<td><a href=\"/search?q=x&amp;"
                           "start=10\">2</a></table></div></body></html>\n");
    return page;
}

const QString& RealisticPage() {
    static const QString kPage = MakeRealisticPage(3 * 1024 * 1024);
    return kPage;
}

// The part of the child that is timed, and whose instructions are counted: one parse from the page's
// UTF-8 bytes (ours with its decoding to UTF-16). The tree is kept: its release is measured elsewhere.
[[gnu::noinline]] std::size_t TimedParse(const char* parser, const QByteArray& bytes) {
    if (std::strcmp(parser, "ours") == 0) {
        auto* root = new Node;
        root->Parse(Utf8ToWide(bytes));
        return root->GetChildren().size();
    }
    const htmlDocPtr doc = htmlReadMemory(bytes.constData(), int(bytes.size()), "page.html", "UTF-8",
                                          HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    return doc && doc->children ? 1 : 0;
}

// The child: reads the page's UTF-8 bytes, then times one parse and prints the microseconds.
int FirstParseChild(const char* parser, const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray bytes = file.readAll();
    const auto start = std::chrono::steady_clock::now();
    const std::size_t count = TimedParse(parser, bytes);
    const auto end = std::chrono::steady_clock::now();
    std::printf(
        "%lld %zu\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(end - start).count()),
        count);
    std::fflush(stdout);
    std::_Exit(0);
}

constexpr int kFirstParsePairs = 21;

// Fresh children per parser, taking turns, on the page's UTF-8 bytes: the synthetic page (argument 0) or a
// realistic one of that many MB. The counters are the medians, libxml2's time over ours, the median of each
// pair's ratio, and (when valgrind is installed) libxml2's instructions in the parse over ours.
void BmFirstParseBesideLibxml2(benchmark::State& state) {
    const QString page =
        state.range(0) == 0 ? ResultsPage() : MakeRealisticPage(state.range(0) * 1024 * 1024);
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("page.html")).toStdString();
    {
        QFile out(QString::fromStdString(file));
        if (!out.open(QIODevice::WriteOnly) || out.write(page.toUtf8()) < 0) {
            state.SkipWithError("cannot write the page");
            return;
        }
    }
    std::vector<double> ours, theirs, pairRatios;
    for (auto _ : state) {
        for (int run = 0; run < kFirstParsePairs; ++run) {
            const std::optional<double> a = freshprocess::RunChild({"--first-parse", "ours", file});
            const std::optional<double> b = freshprocess::RunChild({"--first-parse", "libxml2", file});
            if (!a || !b) {
                state.SkipWithError("a child failed");
                return;
            }
            ours.push_back(*a);
            theirs.push_back(*b);
            pairRatios.push_back(*b / *a);
        }
    }
    state.counters["ours_ms"] = freshprocess::Median(ours);
    state.counters["libxml2_ms"] = freshprocess::Median(theirs);
    state.counters["speed_x"] = freshprocess::Median(theirs) / freshprocess::Median(ours);
    state.counters["pairwise_x"] = freshprocess::Median(pairRatios);
    std::string label =
        state.range(0) == 0 ? "5 MB synthetic" : std::to_string(state.range(0)) + " MB realistic";
    const std::string folder = dir.path().toStdString();
    const std::optional<double> oursInstructions =
        freshprocess::CountChildInstructions({"--first-parse", "ours", file}, "TimedParse", folder);
    const std::optional<double> theirsInstructions =
        freshprocess::CountChildInstructions({"--first-parse", "libxml2", file}, "TimedParse", folder);
    if (oursInstructions && theirsInstructions && *oursInstructions > 0)
        state.counters["instr_x"] = *theirsInstructions / *oursInstructions;
    else
        label += ", no instruction counts: valgrind is not installed or failed";
    state.SetLabel(label);
}
BENCHMARK(BmFirstParseBesideLibxml2)
    ->Arg(0)
    ->Arg(1)
    ->Arg(3)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BmParseResultsPage(benchmark::State& state) {
    const QString& page = ResultsPage();
    Node root;
    for (auto _ : state) {
        state.PauseTiming();
        root = Node(); // releasing the previous tree is measured on its own below
        state.ResumeTiming();
        root.Parse(page);
        benchmark::DoNotOptimize(root.GetChildren().data());
    }
    // The page is ASCII, so its character count is also its size in UTF-8 bytes.
    state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BmParseResultsPage)->Unit(benchmark::kMillisecond);

void BmParseRealisticPage(benchmark::State& state) {
    const QString& page = RealisticPage();
    Node root;
    for (auto _ : state) {
        state.PauseTiming();
        root = Node();
        state.ResumeTiming();
        root.Parse(page);
        benchmark::DoNotOptimize(root.GetChildren().data());
    }
    state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BmParseRealisticPage)->Unit(benchmark::kMillisecond);

// Releasing the synthetic (first argument 0) or the realistic page's tree (1), as the parser left it (second
// argument 0) or a copy of it (1): a copy shares its texts with the tree it was made from.
void BmReleaseResultsTree(benchmark::State& state) {
    const QString& page = state.range(0) == 0 ? ResultsPage() : RealisticPage();
    const bool copy = state.range(1) == 1;
    Node parsed;
    if (copy)
        parsed.Parse(page);
    for (auto _ : state) {
        state.PauseTiming();
        Node root;
        if (copy)
            root = parsed;
        else
            root.Parse(page);
        state.ResumeTiming();
        root = Node();
        benchmark::DoNotOptimize(root.GetChildren().data());
    }
    state.SetLabel(std::string(state.range(0) == 0 ? "5 MB synthetic" : "3 MB realistic") +
                   (copy ? ", a copy" : ", as parsed"));
}
BENCHMARK(BmReleaseResultsTree)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

void BmFindAllAndInnerText100(benchmark::State& state) {
    Node root;
    root.Parse(ResultsPage());
    std::vector<const Node*> results;
    for (auto _ : state) {
        qsizetype textSize = 0;
        for (int round = 0; round < 100; ++round) {
            std::as_const(root).FindAll(
                results, {.tag = QStringLiteral("div"), .className = QStringLiteral("result")});
            textSize += root.GetInnerText(true, QStringLiteral(" SCRIPT STYLE ")).size();
        }
        benchmark::DoNotOptimize(textSize);
    }
    state.SetLabel(std::to_string(results.size()) + " results");
}
BENCHMARK(BmFindAllAndInnerText100)->Unit(benchmark::kMillisecond);

QString Repeated(const QString& piece, qsizetype count) {
    QString out;
    out.reserve(piece.size() * count);
    for (qsizetype i = 0; i < count; ++i)
        out += piece;
    return out;
}

// Unclosed elements, then one stray end tag that nests them all; the tree is also copied, searched and
// destroyed.
void BmUnclosedElementsThenStrayEndTag(benchmark::State& state) {
    const QString page = Repeated(QStringLiteral("<div>"), state.range(0)) + QStringLiteral("x</p>");
    for (auto _ : state) {
        Node root;
        root.Parse(page);
        const Node copy(root);
        benchmark::DoNotOptimize(copy.FindFirst({.tag = QStringLiteral("span")}));
        benchmark::DoNotOptimize(copy.GetInnerText(true).size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BmUnclosedElementsThenStrayEndTag)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// Thousands of links side by side at the root level (nothing encloses them): a scan for the open link
// that each new link closes would pass over all of them every time.
void BmPendingLinks(benchmark::State& state) {
    const QString page = Repeated(QStringLiteral("<a href=\"/x\">link</a> <li>item</p>"), state.range(0)) +
                         QStringLiteral("<br>");
    for (auto _ : state) {
        Node root;
        root.Parse(page);
        benchmark::DoNotOptimize(root.GetChildren().data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BmPendingLinks)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// About 1 MB of text per 10,000 distinct decimal references.
QString TextWithReferences(qsizetype references) {
    QString text = QStringLiteral("<p>");
    for (qsizetype i = 0; i < references; ++i)
        text +=
            QStringLiteral("&#") + QString::number(1000 + i) +
            QStringLiteral("; filler text between references, long enough to make the whole a megabyte of "
                           "page text in the end, with &amp; and &lt;b&gt; now and then.");
    return text + QStringLiteral("</p>");
}

void BmDistinctNumericReferences(benchmark::State& state) {
    const QString page = TextWithReferences(state.range(0));
    for (auto _ : state) {
        Node root;
        root.Parse(page);
        benchmark::DoNotOptimize(root.GetChildren().data());
    }
    state.SetBytesProcessed(state.iterations() * page.size());
    state.SetComplexityN(state.range(0));
    state.SetLabel(std::to_string(page.size()) + " chars");
}
BENCHMARK(BmDistinctNumericReferences)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// Text full of "&#" and no semicolon anywhere.
void BmReferencesWithoutSemicolon(benchmark::State& state) {
    const QString text = Repeated(QStringLiteral("&#1 "), state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeHtmlEntities(text).size());
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BmReferencesWithoutSemicolon)
    ->RangeMultiplier(4)
    ->Range(65536, 1 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--first-parse") == 0)
        return FirstParseChild(argv[2], argv[3]);
    freshprocess::SelfPath() = argv[0];
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
