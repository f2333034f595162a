// The page parser and its queries on a large synthetic search-results page, and on hostile inputs that
// must stay linear.
#include "net/html_tags.h"

#include <benchmark/benchmark.h>
#include <string>
#include <utility>

namespace {

using Node = CDownloader_HTMLTags;

constexpr qsizetype kPageSize = 5 * 1024 * 1024;

// A results page in the usual shape: head with style and script, then nested result blocks with attributes,
// entities, CR LF indentation and now and then an inline script with markup in its strings.
QString makeResultsPage() {
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

const QString& resultsPage() {
    static const QString page = makeResultsPage();
    return page;
}

void BM_ParseResultsPage(benchmark::State& state) {
    const QString& page = resultsPage();
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
BENCHMARK(BM_ParseResultsPage)->Unit(benchmark::kMillisecond);

void BM_ReleaseResultsTree(benchmark::State& state) {
    Node parsed;
    parsed.Parse(resultsPage());
    for (auto _ : state) {
        state.PauseTiming();
        Node root = parsed;
        state.ResumeTiming();
        root = Node();
        benchmark::DoNotOptimize(root.GetChildren().data());
    }
}
BENCHMARK(BM_ReleaseResultsTree)->Unit(benchmark::kMillisecond);

void BM_FindAllAndInnerText100(benchmark::State& state) {
    Node root;
    root.Parse(resultsPage());
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
BENCHMARK(BM_FindAllAndInnerText100)->Unit(benchmark::kMillisecond);

QString repeated(const QString& piece, qsizetype count) {
    QString out;
    out.reserve(piece.size() * count);
    for (qsizetype i = 0; i < count; ++i)
        out += piece;
    return out;
}

// Unclosed elements, then one stray end tag that nests them all; the tree is also copied, searched and
// destroyed.
void BM_UnclosedElementsThenStrayEndTag(benchmark::State& state) {
    const QString page = repeated(QStringLiteral("<div>"), state.range(0)) + QStringLiteral("x</p>");
    for (auto _ : state) {
        Node root;
        root.Parse(page);
        const Node copy(root);
        benchmark::DoNotOptimize(copy.FindFirst({.tag = QStringLiteral("span")}));
        benchmark::DoNotOptimize(copy.GetInnerText(true).size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UnclosedElementsThenStrayEndTag)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// Thousands of links side by side at the root level (nothing encloses them): a scan for the open link
// that each new link closes would pass over all of them every time.
void BM_PendingLinks(benchmark::State& state) {
    const QString page = repeated(QStringLiteral("<a href=\"/x\">link</a> <li>item</p>"), state.range(0)) +
                         QStringLiteral("<br>");
    for (auto _ : state) {
        Node root;
        root.Parse(page);
        benchmark::DoNotOptimize(root.GetChildren().data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PendingLinks)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// About 1 MB of text per 10,000 distinct decimal references.
QString textWithReferences(qsizetype references) {
    QString text = QStringLiteral("<p>");
    for (qsizetype i = 0; i < references; ++i)
        text +=
            QStringLiteral("&#") + QString::number(1000 + i) +
            QStringLiteral("; filler text between references, long enough to make the whole a megabyte of "
                           "page text in the end, with &amp; and &lt;b&gt; now and then.");
    return text + QStringLiteral("</p>");
}

void BM_DistinctNumericReferences(benchmark::State& state) {
    const QString page = textWithReferences(state.range(0));
    for (auto _ : state) {
        Node root;
        root.Parse(page);
        benchmark::DoNotOptimize(root.GetChildren().data());
    }
    state.SetBytesProcessed(state.iterations() * page.size());
    state.SetComplexityN(state.range(0));
    state.SetLabel(std::to_string(page.size()) + " chars");
}
BENCHMARK(BM_DistinctNumericReferences)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// Text full of "&#" and no semicolon anywhere.
void BM_ReferencesWithoutSemicolon(benchmark::State& state) {
    const QString text = repeated(QStringLiteral("&#1 "), state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeHtmlEntities(text).size());
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReferencesWithoutSemicolon)
    ->RangeMultiplier(4)
    ->Range(65536, 1 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
