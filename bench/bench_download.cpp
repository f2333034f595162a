// Downloads from the loopback server, response processing, inflating, and the pool under many jobs. The 50 MB
// downloads run beside libcurl fetching the same replies from the same server in the same program.
#include "core/limits.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/http_response.h"
#include "tests/support/compression.h"
#include "tests/support/http_server.h"

#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <curl/curl.h>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint64_t kMB = 1024 * 1024;

// A crawler with throwaway folders and its pool, as the program has it after start-up.
struct BenchCrawler {
    QTemporaryDir home;
    CProjectCrawler crawler{{home.path(), home.path() + QStringLiteral("/data"), {}, {}}};
};

bool WaitFinished(const CDownloader& downloader) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!downloader.IsFinished()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

void BmDownload50Mb(benchmark::State& state) {
    BenchCrawler bench;
    twtest::HttpServer server;
    server.SetReply("/big", twtest::HttpReply::Generated(50 * kMB));
    CDownloader downloader(0, &bench.crawler);
    const QString url = QString::fromStdString(server.Url("/big"));
    for (auto _ : state) {
        downloader.Start(url, true, true);
        if (!WaitFinished(downloader) || downloader.Response().raw.size() != qsizetype(50 * kMB)) {
            state.SkipWithError("download incomplete");
            break;
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * 50 * kMB));
}
BENCHMARK(BmDownload50Mb)->Unit(benchmark::kMillisecond)->UseRealTime();

// libcurl keeping the body in memory: in a buffer made for the download, sized from the announced length when
// there is one (as the downloader does); or in one buffer kept from download to download.
struct CurlSink {
    CURL* handle = nullptr;
    std::string* body = nullptr;
    bool sized = false;
};

size_t CurlWrite(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<CurlSink*>(user);
    if (!sink->sized) {
        sink->sized = true;
        curl_off_t length = -1;
        if (curl_easy_getinfo(sink->handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
            length > 0)
            sink->body->reserve(size_t(length));
    }
    sink->body->append(data, size * count);
    return size * count;
}

double CurlDownload(const std::string& url, std::string& body) {
    CURL* handle = curl_easy_init();
    CurlSink sink{handle, &body, false};
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, CurlWrite);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    const auto start = std::chrono::steady_clock::now();
    const bool ok = curl_easy_perform(handle) == CURLE_OK;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    curl_easy_cleanup(handle);
    return ok && body.size() == 50 * kMB ? ms : -1.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// 50 MB in raw bytes (argument 0), chunked (1), or kept as body text too (2), taking turns with libcurl;
// the counters are medians and the speed as a multiple of libcurl's (over 1: faster).
void BmDownload50MbBesideCurl(benchmark::State& state) {
    BenchCrawler bench;
    twtest::HttpServer server;
    twtest::HttpReply reply = twtest::HttpReply::Generated(50 * kMB);
    if (state.range(0) == 1)
        reply.framing = twtest::HttpReply::Framing::Chunked;
    server.SetReply("/big", reply);
    const std::string url = server.Url("/big");
    CDownloader downloader(0, &bench.crawler);
    const bool text = state.range(0) == 2;
    std::string kept;
    std::vector<double> ours, curl, curlKept;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        downloader.Start(QString::fromStdString(url), !text, true);
        if (!WaitFinished(downloader) || downloader.Response().raw.size() != qsizetype(50 * kMB) ||
            (text && downloader.Response().body.size() != qsizetype(50 * kMB))) {
            state.SkipWithError("download incomplete");
            return;
        }
        ours.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        // The taker is done with the response, as libcurl's is with its buffer: freeing either is not timed.
        downloader.Reset();
        std::string fresh;
        kept.clear();
        curl.push_back(CurlDownload(url, fresh));
        curlKept.push_back(CurlDownload(url, kept));
        if (curl.back() < 0 || curlKept.back() < 0) {
            state.SkipWithError("libcurl failed");
            return;
        }
    }
    state.counters["ours_ms"] = Median(ours);
    state.counters["curl_ms"] = Median(curl);
    state.counters["curl_kept_buffer_ms"] = Median(curlKept);
    state.counters["speed_x"] = Median(curl) / Median(ours);
    state.counters["speed_x_kept"] = Median(curlKept) / Median(ours);
    state.SetLabel(state.range(0) == 0 ? "raw bytes" : state.range(0) == 1 ? "chunked" : "with body text");
}
BENCHMARK(BmDownload50MbBesideCurl)
    ->DenseRange(0, 2)
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the exchange does while a reply arrives 256 bytes at a time: the buffer doubling, the header end
// looked for in the new bytes only.
QByteArray ReceiveIn256ByteSteps(const QByteArray& reply) {
    QByteArray buffer(102400, Qt::Uninitialized);
    qsizetype used = 0;
    HeaderEndScanner headerEnd(limits::kHeaderSearchBytes);
    for (qsizetype at = 0; at < reply.size(); at += 256) {
        const qsizetype count = std::min<qsizetype>(256, reply.size() - at);
        if (used + 256 >= buffer.size() - 1024)
            buffer.resize(buffer.size() * 2);
        std::memcpy(buffer.data() + used, reply.constData() + at, size_t(count));
        used += count;
        if (!headerEnd.Decided())
            headerEnd.Scan(QByteArrayView(buffer.constData(), used));
    }
    buffer.truncate(used);
    return buffer;
}

// A 10 MB body sent in 256-byte chunks: the receive side, then response processing (de-chunking and the
// raw buffer; with argument 1 also the body text).
void BmProcess10MbIn256ByteChunks(benchmark::State& state) {
    std::string body;
    body.reserve(11 * kMB);
    const std::string chunk(256, 'x');
    for (std::uint64_t sent = 0; sent < 10 * kMB; sent += chunk.size())
        body += "100\r\n" + chunk + "\r\n";
    body += "0\r\n\r\n";
    const QByteArray reply =
        QByteArray::fromStdString("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + body);
    const int requestWord =
        state.range(0) ? CDownloader::kRequestGet | CDownloader::kKeepText : CDownloader::kRequestGet;
    CDownloader downloader(-1);
    for (auto _ : state) {
        downloader.ProcessResponse(ReceiveIn256ByteSteps(reply), requestWord,
                                   QStringLiteral("http://example.com/p"));
        if (downloader.Response().raw.size() != qsizetype(10 * kMB)) {
            state.SkipWithError("body size wrong");
            break;
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * reply.size()));
}
BENCHMARK(BmProcess10MbIn256ByteChunks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BmInflate50Mb(benchmark::State& state) {
    std::string text;
    text.reserve(50 * kMB);
    for (int i = 0; text.size() < 50 * kMB; ++i)
        text += "<tr><td>keyword " + std::to_string(i) + "</td><td>" + std::to_string(i * 7 % 1000) +
                "</td></tr>\n";
    text.resize(50 * kMB);
    const std::string gz = twtest::GzipCompress(text);
    QByteArray out;
    for (auto _ : state) {
        if (InflateBody(QByteArrayView(gz.data(), qsizetype(gz.size())), true, limits::kMaxInflatedBytes,
                        out) != InflateResult::Done ||
            out.size() != qsizetype(50 * kMB)) {
            state.SkipWithError("inflate failed");
            break;
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * 50 * kMB));
    state.SetLabel(std::to_string(gz.size()) + " compressed bytes");
}
BENCHMARK(BmInflate50Mb)->Unit(benchmark::kMillisecond);

// A reply with no header end at all, received 256 bytes at a time and processed with its text: the time
// must grow with the size, not with its square.
void BmNoHeaderEnd(benchmark::State& state) {
    const QByteArray reply(state.range(0) * qsizetype(kMB), 'a');
    CDownloader downloader(-1);
    for (auto _ : state) {
        downloader.ProcessResponse(ReceiveIn256ByteSteps(reply),
                                   CDownloader::kRequestGet | CDownloader::kKeepText,
                                   QStringLiteral("http://example.com/"));
        benchmark::DoNotOptimize(downloader.Response().body.size());
    }
    state.SetComplexityN(reply.size());
}
BENCHMARK(BmNoHeaderEnd)
    ->Arg(1)
    ->Arg(2)
    ->Arg(5)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// 64 slots, 20 jobs each, run the way the project tick runs them: every job finishes, no slot is lost.
void BmPool64Slots20JobsEach(benchmark::State& state) {
    BenchCrawler bench;
    twtest::HttpServer server;
    server.SetDefaultReply(twtest::HttpReply::Page("<html><body><p>result</p></body></html>"));
    bench.crawler.allowMaxThreads = limits::kMaxThreadCount;
    bench.crawler.GrowPool();
    // A project's job: it may use the first 64 slots.
    bench.crawler.SetCurrentJob(1);
    const QString url = QString::fromStdString(server.Url("/job"));
    constexpr int kJobs = 64 * 20;
    for (auto _ : state) {
        int started = 0, finished = 0;
        std::vector<CDownloader*> running;
        while (finished < kJobs) {
            for (auto it = running.begin(); it != running.end();) {
                if ((*it)->IsFinished()) {
                    finished += (*it)->Response().body.isEmpty() ? 0 : 1;
                    (*it)->Release();
                    it = running.erase(it);
                } else {
                    ++it;
                }
            }
            while (started < kJobs) {
                CDownloader* downloader = bench.crawler.GetFreeDownloader();
                if (!downloader)
                    break;
                downloader->Start(url);
                running.push_back(downloader);
                ++started;
            }
            if (started == kJobs && running.empty())
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        int free = 0;
        for (const auto& downloader : bench.crawler.GetDownloaders())
            free += downloader->IsFreeFor(-1) ? 1 : 0;
        if (finished != kJobs || free != int(bench.crawler.GetDownloaders().size())) {
            state.SkipWithError("a job failed or a slot was lost");
            break;
        }
    }
    state.SetItemsProcessed(std::int64_t(state.iterations() * kJobs));
}
BENCHMARK(BmPool64Slots20JobsEach)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    curl_global_cleanup();
    return 0;
}
