#include "tests/support/whois_server.h"

namespace twtest {

namespace {

// A query is one domain name; anything longer is not a whois client.
constexpr std::size_t kMaxQueryBytes = 4096;

} // namespace

WhoisServer::WhoisServer(IpFamily family)
    : m_listener(family, nullptr, [this](ServerConnection& connection) { Handle(connection); }) {}

void WhoisServer::SetReply(const std::string& query, std::string text) {
    std::lock_guard lock(m_lock);
    m_replies[query] = std::move(text);
}

void WhoisServer::SetDefaultReply(std::string text) {
    std::lock_guard lock(m_lock);
    m_defaultReply = std::move(text);
}

std::vector<std::string> WhoisServer::Queries() const {
    std::lock_guard lock(m_lock);
    return m_queries;
}

void WhoisServer::Handle(ServerConnection& connection) {
    std::string line;
    if (!connection.ReadUntil(line, "\n", kMaxQueryBytes))
        return;
    line.erase(line.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::string reply;
    {
        std::lock_guard lock(m_lock);
        m_queries.push_back(line);
        const auto found = m_replies.find(line);
        reply = found != m_replies.end() ? found->second : m_defaultReply;
    }
    connection.Write(reply);
}

} // namespace twtest
