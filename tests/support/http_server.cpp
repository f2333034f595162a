#include "tests/support/http_server.h"

#include "tests/support/compression.h"
#include "tests/support/test_certificate.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>

namespace twtest {

namespace {

constexpr std::size_t kMaxRequestHeaderBytes = 1 << 20;
constexpr std::size_t kMaxRequestBodyBytes = 64 << 20;
constexpr std::size_t kGeneratedPieceBytes = 64 * 1024;
// The generated body repeats every 64 * 13 bytes (line length and alphabet).
constexpr std::size_t kGeneratedPeriod = 832;

// One period more than a piece, so that any piece is one slice of it.
const std::string& GeneratedPattern() {
    static const std::string kPattern = [] {
        std::string text(kGeneratedPieceBytes + kGeneratedPeriod, '\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = GeneratedBodyByte(i);
        return text;
    }();
    return kPattern;
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(
                                       a.begin(), a.end(), b.begin(),
                                       [](char x, char y) {
                                           return std::tolower(static_cast<unsigned char>(x)) ==
                                                  std::tolower(static_cast<unsigned char>(y));
                                       });
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Fills method, target and headers from the header block (request line and header lines, CR LF apart).
void ParseHead(const std::string& head, RecordedRequest& request) {
    std::size_t lineStart = 0;
    bool first = true;
    while (lineStart < head.size()) {
        std::size_t lineEnd = head.find("\r\n", lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = head.size();
        const std::string line = head.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 2;
        if (first) {
            first = false;
            const auto space = line.find(' ');
            const auto secondSpace = line.find(' ', space + 1);
            request.method = line.substr(0, space);
            if (space != std::string::npos)
                request.target = line.substr(space + 1, secondSpace - space - 1);
            continue;
        }
        const auto colon = line.find(':');
        if (colon != std::string::npos)
            request.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
    }
}

std::string Hex(std::size_t value) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value);
    return text;
}

bool HasHeader(const HttpReply& reply, const std::string& name) {
    return std::any_of(
        reply.headers.begin(), reply.headers.end(),
        [&](const auto& header) { return SameName(header.first, name); });
}

} // namespace

std::string RecordedRequest::HeaderValue(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (SameName(key, name))
            return value;
    return {};
}

HttpServer::HttpServer(IpFamily family, const TestCertificate* certificate)
    : m_tls(certificate != nullptr),
      m_listener(family, certificate ? certificate->ServerContext() : nullptr,
                 [this](ServerConnection& connection) { Handle(connection); }) {
    m_defaultReply = HttpReply::Page("<html><body>not found</body></html>");
    m_defaultReply.status = 404;
    m_defaultReply.reason = "Not Found";
}

HttpServer::~HttpServer() = default;

void HttpServer::SetReply(const std::string& target, HttpReply reply) {
    std::lock_guard lock(m_lock);
    m_replies[target] = std::move(reply);
}

void HttpServer::SetDefaultReply(HttpReply reply) {
    std::lock_guard lock(m_lock);
    m_defaultReply = std::move(reply);
}

std::string HttpServer::Url(const std::string& path, const std::string& host) const {
    std::string name = host;
    if (name.empty())
        name = m_listener.Host() == "::1" ? "[::1]" : m_listener.Host();
    return (m_tls ? "https://" : "http://") + name + ":" + std::to_string(Port()) + path;
}

std::vector<RecordedRequest> HttpServer::Requests() const {
    std::lock_guard lock(m_lock);
    return m_requests;
}

HttpReply HttpServer::ReplyFor(const std::string& target) const {
    std::lock_guard lock(m_lock);
    auto found = m_replies.find(target);
    if (found == m_replies.end())
        found = m_replies.find(target.substr(0, target.find('?')));
    return found != m_replies.end() ? found->second : m_defaultReply;
}

void HttpServer::Handle(ServerConnection& connection) {
    std::string text;
    if (!connection.ReadUntil(text, "\r\n\r\n", kMaxRequestHeaderBytes))
        return;
    const std::size_t headEnd = text.find("\r\n\r\n");
    RecordedRequest request;
    ParseHead(text.substr(0, headEnd), request);
    request.body = text.substr(headEnd + 4);
    const std::size_t length = std::min<std::size_t>(
        std::strtoull(request.HeaderValue("Content-Length").c_str(), nullptr, 10), kMaxRequestBodyBytes);
    if (request.body.size() < length && !connection.ReadExactly(request.body, length - request.body.size()))
        return;
    request.raw = text.substr(0, headEnd + 4) + request.body;
    const HttpReply reply = ReplyFor(request.target);
    {
        std::lock_guard lock(m_lock);
        m_requests.push_back(std::move(request));
    }

    if (!reply.closeNotify)
        connection.OmitCloseNotify();
    if (reply.delivery == HttpReply::Delivery::CloseAtOnce)
        return;
    if (reply.delivery == HttpReply::Delivery::Stall) {
        connection.WaitForPeerClose();
        return;
    }
    const auto out = [&](const std::string& bytes) {
        if (reply.delivery != HttpReply::Delivery::Drip)
            return connection.Write(bytes);
        const std::size_t step = std::max<std::size_t>(reply.dripBytes, 1);
        for (std::size_t at = 0; at < bytes.size(); at += step)
            if (!connection.Write(bytes.data() + at, std::min(step, bytes.size() - at)) ||
                !connection.Pause(reply.dripDelayMs))
                return false;
        return true;
    };
    if (!reply.raw.empty()) {
        out(reply.raw);
        return;
    }

    std::string body;
    if (reply.generatedBodySize == 0) {
        body = reply.coding == HttpReply::Coding::Gzip      ? GzipCompress(reply.body)
               : reply.coding == HttpReply::Coding::Deflate ? DeflateCompress(reply.body)
                                                            : reply.body;
    }
    const std::uint64_t bodySize = reply.generatedBodySize ? reply.generatedBodySize : body.size();

    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
    for (const auto& [name, value] : reply.headers)
        head += name + ": " + value + "\r\n";
    if (reply.generatedBodySize == 0 && reply.coding != HttpReply::Coding::Identity &&
        !HasHeader(reply, "Content-Encoding"))
        head += reply.coding == HttpReply::Coding::Gzip ? "Content-Encoding: gzip\r\n"
                                                        : "Content-Encoding: deflate\r\n";
    if (reply.framing == HttpReply::Framing::ContentLength)
        head += "Content-Length: " + std::to_string(bodySize) + "\r\n";
    else if (reply.framing == HttpReply::Framing::Chunked)
        head += "Transfer-Encoding: chunked\r\n";
    head += "Connection: close\r\n\r\n";
    if (!out(head))
        return;

    // The body in pieces: chunks when chunked, else slices small enough to stream a generated body.
    std::size_t pieceSize =
        reply.generatedBodySize ? kGeneratedPieceBytes : std::max<std::size_t>(body.size(), 1);
    if (reply.framing == HttpReply::Framing::Chunked && reply.chunkSize)
        pieceSize = std::min(pieceSize, reply.chunkSize);
    std::string piece;
    for (std::uint64_t at = 0; at < bodySize; at += pieceSize) {
        const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(pieceSize, bodySize - at));
        if (reply.generatedBodySize)
            piece.assign(GeneratedPattern(), static_cast<std::size_t>(at % kGeneratedPeriod), size);
        else
            piece.assign(body, static_cast<std::size_t>(at), size);
        if (reply.framing == HttpReply::Framing::Chunked)
            piece = Hex(size) + reply.chunkExtension + "\r\n" + piece + "\r\n";
        if (!out(piece))
            return;
    }
    if (reply.framing == HttpReply::Framing::Chunked)
        out("0" + reply.chunkExtension + "\r\n\r\n");
}

} // namespace twtest
