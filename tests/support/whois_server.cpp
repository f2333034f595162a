#include "tests/support/whois_server.h"

#include "tests/support/http_reply.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace twtest {

namespace {

// A query is one domain name; anything longer is not a whois client.
constexpr std::size_t kMaxQueryBytes = 4096;

constexpr std::size_t kGeneratedBlock = 65536;

void WriteGenerated(ServerConnection& connection, std::uint64_t size) {
    std::string block;
    for (std::uint64_t at = 0; at < size;) {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kGeneratedBlock, size - at));
        block.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            block[i] = GeneratedBodyByte(at + i);
        if (!connection.Write(block))
            return;
        at += count;
    }
}

bool WriteDripping(ServerConnection& connection, const std::string& text, std::size_t bytes, int delayMs) {
    for (std::size_t at = 0; at < text.size(); at += bytes) {
        if (at > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        if (!connection.Write(text.substr(at, bytes)))
            return false;
    }
    return true;
}

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

void WhoisServer::SetStalling(bool stalling) {
    std::lock_guard lock(m_lock);
    m_stalling = stalling;
}

void WhoisServer::SetGeneratedReply(std::uint64_t size) {
    std::lock_guard lock(m_lock);
    m_generatedSize = size;
}

void WhoisServer::SetDrip(std::size_t bytes, int delayMs) {
    std::lock_guard lock(m_lock);
    m_dripBytes = bytes;
    m_dripDelayMs = delayMs;
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
    bool stalling = false;
    std::uint64_t generatedSize = 0;
    std::size_t dripBytes = 0;
    int dripDelayMs = 0;
    {
        std::lock_guard lock(m_lock);
        m_queries.push_back(line);
        const auto found = m_replies.find(line);
        reply = found != m_replies.end() ? found->second : m_defaultReply;
        stalling = m_stalling;
        generatedSize = m_generatedSize;
        dripBytes = m_dripBytes;
        dripDelayMs = m_dripDelayMs;
    }
    if (stalling)
        connection.WaitForPeerClose();
    else if (generatedSize > 0)
        WriteGenerated(connection, generatedSize);
    else if (dripBytes > 0)
        WriteDripping(connection, reply, dripBytes, dripDelayMs);
    else
        connection.Write(reply);
}

} // namespace twtest
