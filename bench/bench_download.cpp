// Downloads from the loopback server, response processing, inflating, and the pool under many jobs. The 50 MB
// downloads come from a server in a process of its own, as a user's server is (the program starts itself as
// that server: --serve), and run beside libcurl fetching the same replies from the same server.
#include "bench/fresh_process.h"
#include "core/limits.h"
#include "core/text_convert.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/http_response.h"
#include "tests/support/compression.h"
#include "tests/support/http_server.h"

#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <curl/curl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::uint64_t kMB = 1024 * 1024;

// The server process: 50 MB at "/raw" with a Content-Length, at "/chunked" in 64 KB chunks. It prints its
// port, then serves until its standard input closes.
int ServeChild() {
    twtest::HttpServer server;
    server.SetReply("/raw", twtest::HttpReply::Generated(50 * kMB));
    twtest::HttpReply chunked = twtest::HttpReply::Generated(50 * kMB);
    chunked.framing = twtest::HttpReply::Framing::Chunked;
    server.SetReply("/chunked", chunked);
    std::printf("%u\n", unsigned(server.Port()));
    std::fflush(stdout);
    char ignored[64];
    while (read(STDIN_FILENO, ignored, sizeof ignored) > 0) {
    }
    return 0;
}

// The benchmark's own server process, started with the benchmark and ended with it.
class ServerProcess {
  public:
    ServerProcess() {
        int in[2], out[2];
        if (pipe(in) != 0)
            return;
        if (pipe(out) != 0) {
            close(in[0]);
            close(in[1]);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::string self = freshprocess::SelfPath();
        std::string serve = "--serve";
        char* argv[] = {self.data(), serve.data(), nullptr};
        const bool spawned = posix_spawn(&m_pid, self.c_str(), &actions, nullptr, argv, environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        m_stdin = in[1];
        std::string line;
        char c = 0;
        while (spawned && line.size() < 16 && read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(out[0]);
        if (!spawned)
            m_pid = -1;
        m_port = spawned ? std::atoi(line.c_str()) : 0;
    }
    ~ServerProcess() {
        close(m_stdin);
        if (m_pid > 0)
            waitpid(m_pid, nullptr, 0);
    }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool Running() const { return m_port > 0; }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

  private:
    pid_t m_pid = -1;
    int m_stdin = -1;
    int m_port = 0;
};

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
    const ServerProcess server;
    if (!server.Running()) {
        state.SkipWithError("the server process did not start");
        return;
    }
    CDownloader downloader(0, &bench.crawler);
    const QString url = QString::fromStdString(server.Url("/raw"));
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

// The process's CPU time in milliseconds, all its threads together: on a loaded host it tells the client's
// work apart from the time spent waiting for a core.
double ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The body as text too, as the downloader keeps it when asked: the same conversion, timed with the download.
double CurlDownload(const std::string& url, std::string& body, QString* text = nullptr) {
    CURL* handle = curl_easy_init();
    CurlSink sink{handle, &body, false};
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, CurlWrite);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    const auto start = std::chrono::steady_clock::now();
    const bool ok = curl_easy_perform(handle) == CURLE_OK;
    if (ok && text)
        *text = Utf8ToWide(QByteArrayView(body.data(), qsizetype(body.size())));
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    curl_easy_cleanup(handle);
    const bool whole = body.size() == 50 * kMB && (!text || text->size() == qsizetype(50 * kMB));
    return ok && whole ? ms : -1.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// 50 MB in raw bytes (argument 0), chunked (1), or kept as body text too (2, libcurl's runs then convert
// their bytes to text the same way), taking turns with libcurl; the counters are medians, the speed as a
// multiple of libcurl's (over 1: faster), and the CPU time this process spent on ours and on libcurl's
// kept-buffer download.
void BmDownload50MbBesideCurl(benchmark::State& state) {
    BenchCrawler bench;
    const ServerProcess server;
    if (!server.Running()) {
        state.SkipWithError("the server process did not start");
        return;
    }
    const std::string url = server.Url(state.range(0) == 1 ? "/chunked" : "/raw");
    CDownloader downloader(0, &bench.crawler);
    const bool text = state.range(0) == 2;
    std::string kept;
    QString curlText;
    std::vector<double> ours, curl, curlKept, oursCpu, curlKeptCpu;
    for (auto _ : state) {
        const double cpuStart = ProcessCpuMs();
        const auto start = std::chrono::steady_clock::now();
        downloader.Start(QString::fromStdString(url), !text, true);
        if (!WaitFinished(downloader) || downloader.Response().raw.size() != qsizetype(50 * kMB) ||
            (text && downloader.Response().body.size() != qsizetype(50 * kMB))) {
            state.SkipWithError("download incomplete");
            return;
        }
        ours.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        oursCpu.push_back(ProcessCpuMs() - cpuStart);
        // The taker is done with the response, as libcurl's is with its buffer: freeing either is not timed.
        downloader.Reset();
        std::string fresh;
        kept.clear();
        curl.push_back(CurlDownload(url, fresh, text ? &curlText : nullptr));
        curlText.clear();
        const double curlCpuStart = ProcessCpuMs();
        curlKept.push_back(CurlDownload(url, kept, text ? &curlText : nullptr));
        curlKeptCpu.push_back(ProcessCpuMs() - curlCpuStart);
        curlText.clear();
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
    state.counters["ours_cpu_ms"] = Median(oursCpu);
    state.counters["curl_kept_cpu_ms"] = Median(curlKeptCpu);
    state.SetLabel(state.range(0) == 0 ? "raw bytes" : state.range(0) == 1 ? "chunked" : "with body text");
}
BENCHMARK(BmDownload50MbBesideCurl)
    ->DenseRange(0, 2)
    ->Iterations(11)
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
    if (argc == 2 && std::strcmp(argv[1], "--serve") == 0)
        return ServeChild();
    freshprocess::SelfPath() = argv[0];
    curl_global_init(CURL_GLOBAL_DEFAULT);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    curl_global_cleanup();
    return 0;
}
