#pragma once

#include "tests/support/loopback_listener.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace twtest {

// The loopback whois server: reads one query line, answers with the text set for that query (else the
// default text) and closes. Every query is recorded without its line end.
class WhoisServer {
  public:
    explicit WhoisServer(IpFamily family = IpFamily::V4);

    void SetReply(const std::string& query, std::string text);
    void SetDefaultReply(std::string text);

    std::uint16_t Port() const { return m_listener.Port(); }
    std::string Host() const { return m_listener.Host(); }
    std::vector<std::string> Queries() const;

  private:
    void Handle(ServerConnection& connection);

    mutable std::mutex m_lock;
    std::map<std::string, std::string> m_replies;
    std::string m_defaultReply = "No match for domain.\r\n";
    std::vector<std::string> m_queries;
    // Last, so that its threads stop before the members above go away.
    LoopbackListener m_listener;
};

} // namespace twtest
