#include "tests/projects/fixture_server.h"

#include <QByteArray>
#include <QFile>
#include <QUrl>
#include <algorithm>
#include <cstdlib>

namespace projtest {

namespace {

constexpr std::size_t kMaxHeadBytes = 1 << 20;

struct Named {
    Endpoint endpoint;
    const char* prefix;
};

constexpr Named kPrefixes[] = {
    {Endpoint::GoogleWeb, "/google"},
    {Endpoint::GoogleToolbar, "/toolbar"},
    {Endpoint::GoogleKeywordTool, "/keywordtool"},
    {Endpoint::BingWeb, "/bing"},
    {Endpoint::BingAdCenter, "/adcenter"},
    {Endpoint::BingAdLab, "/adlab"},
    {Endpoint::YahooWeb, "/yahoo"},
    {Endpoint::YahooRedirect, "/yahooredirect"},
    {Endpoint::YahooMarketingSignIn, "/yahoosignin"},
    {Endpoint::YahooMarketing, "/yahoomarketing"},
    {Endpoint::YahooSiteExplorer, "/siteexplorer"},
    {Endpoint::WordtrackerFree, "/wordtracker"},
    {Endpoint::AskWeb, "/ask"},
    {Endpoint::AlexaData, "/alexa"},
};

std::string Decoded(const std::string& text) {
    QByteArray bytes = QByteArray::fromStdString(text);
    bytes.replace('+', ' ');
    return QUrl::fromPercentEncoding(bytes).toStdString();
}

std::string HeaderValue(const std::string& head, const std::string& name) {
    std::string lower = head;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    const std::string key = "\r\n" + name + ":";
    const std::size_t at = lower.find(key);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + key.size();
    return head.substr(start, head.find("\r\n", start) - start);
}

} // namespace

FixtureServer::FixtureServer()
    : m_listener(twtest::IpFamily::V4, nullptr,
                 [this](twtest::ServerConnection& connection) { Handle(connection); }) {}

FixtureServer::~FixtureServer() = default;

std::string FixtureServer::Prefix(Endpoint endpoint) {
    for (const Named& named : kPrefixes)
        if (named.endpoint == endpoint)
            return named.prefix;
    return {};
}

std::string FixtureServer::ReadDataFile(const QString& fileName) {
    QFile file(QStringLiteral(TW_PROJECTS_TEST_DATA_DIR "/") + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

void FixtureServer::PointEndpoints() const {
    for (const Named& named : kPrefixes) {
        if (named.endpoint == Endpoint::YahooRedirect)
            continue;
        endpoints::Set(named.endpoint, {QStringLiteral("http"), QStringLiteral("127.0.0.1"), Port(),
                                        QString::fromLatin1(named.prefix)});
    }
}

void FixtureServer::Serve(Endpoint endpoint, const std::string& path,
                          const std::vector<std::string>& contains, twtest::HttpReply reply) {
    std::lock_guard lock(m_lock);
    m_rules.push_back({Prefix(endpoint) + path, contains, std::move(reply)});
}

void FixtureServer::ServeFile(Endpoint endpoint, const std::string& path,
                              const std::vector<std::string>& contains, const QString& fileName) {
    Serve(endpoint, path, contains,
          twtest::HttpReply::Page(ReadDataFile(fileName), "text/html; charset=utf-8"));
}

void FixtureServer::Fail(Endpoint endpoint) {
    std::lock_guard lock(m_lock);
    std::erase_if(m_rules, [&](const Rule& rule) { return rule.path.starts_with(Prefix(endpoint) + "/"); });
    m_rules.push_back(
        {Prefix(endpoint), {}, twtest::HttpReply::With(twtest::HttpReply::Delivery::CloseAtOnce)});
}

std::vector<twtest::RecordedRequest> FixtureServer::Requests() const {
    std::lock_guard lock(m_lock);
    return m_requests;
}

int FixtureServer::CountRequests(Endpoint endpoint) const {
    const std::string prefix = Prefix(endpoint) + "/";
    std::lock_guard lock(m_lock);
    return int(std::count_if(m_requests.begin(), m_requests.end(),
                             [&](const twtest::RecordedRequest& r) { return r.target.starts_with(prefix); }));
}

twtest::HttpReply FixtureServer::ReplyFor(const twtest::RecordedRequest& request) const {
    const std::size_t query = request.target.find('?');
    const std::string path = request.target.substr(0, query);
    const std::string values = Decoded(
        (query == std::string::npos ? std::string() : request.target.substr(query + 1)) + "&" + request.body);
    std::lock_guard lock(m_lock);
    for (auto rule = m_rules.rbegin(); rule != m_rules.rend(); ++rule) {
        // A rule for a whole service (Fail) names only its prefix.
        const bool pathMatches = rule->path == path || (rule->path.find('/', 1) == std::string::npos &&
                                                        path.starts_with(rule->path + "/"));
        if (!pathMatches)
            continue;
        if (std::all_of(rule->contains.begin(), rule->contains.end(),
                        [&](const std::string& text) { return values.find(text) != std::string::npos; }))
            return rule->reply;
    }
    twtest::HttpReply missing = twtest::HttpReply::Page("<html><body>not found</body></html>");
    missing.status = 404;
    missing.reason = "Not Found";
    return missing;
}

void FixtureServer::Handle(twtest::ServerConnection& connection) {
    std::string text;
    if (!connection.ReadUntil(text, "\r\n\r\n", kMaxHeadBytes))
        return;
    const std::size_t headEnd = text.find("\r\n\r\n");
    const std::string head = text.substr(0, headEnd);
    twtest::RecordedRequest request;
    const std::size_t space = head.find(' ');
    request.method = head.substr(0, space);
    request.target = head.substr(space + 1, head.find(' ', space + 1) - space - 1);
    request.body = text.substr(headEnd + 4);
    const std::size_t length = std::strtoull(HeaderValue(head, "content-length").c_str(), nullptr, 10);
    if (request.body.size() < length && !connection.ReadExactly(request.body, length - request.body.size()))
        return;
    request.raw = head + "\r\n\r\n" + request.body;
    const twtest::HttpReply reply = ReplyFor(request);
    {
        std::lock_guard lock(m_lock);
        m_requests.push_back(request);
    }
    if (reply.delivery == twtest::HttpReply::Delivery::CloseAtOnce)
        return;
    if (reply.delivery == twtest::HttpReply::Delivery::Stall) {
        connection.WaitForPeerClose();
        return;
    }
    if (!reply.raw.empty()) {
        connection.Write(reply.raw);
        return;
    }
    std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
    for (const auto& [name, value] : reply.headers)
        out += name + ": " + value + "\r\n";
    out +=
        "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n" + reply.body;
    connection.Write(out);
}

} // namespace projtest
