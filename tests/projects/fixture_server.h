#pragma once

#include "parsers/endpoints.h"
#include "tests/support/http_reply.h"
#include "tests/support/http_server.h"
#include "tests/support/loopback_listener.h"

#include <QString>
#include <mutex>
#include <string>
#include <vector>

namespace projtest {

// One loopback server that stands in for every outside service the kinds call. Each service is sent here
// under a path prefix of its own ("/google", "/bing", ...), so one server tells the services apart, and a
// canned page answers every request to a path of that service whose decoded query and body hold the given
// texts (a keyword, say). The rule added last wins; a request no rule answers gets a 404 page. A reply's
// delivery may cut the connection at once (CloseAtOnce) or never answer (Stall), and a raw reply is sent as
// it stands (a reply cut off in the middle); other delivery and framing choices are not played. Every
// request is recorded.
class FixtureServer {
  public:
    FixtureServer();
    ~FixtureServer();
    FixtureServer(const FixtureServer&) = delete;
    FixtureServer& operator=(const FixtureServer&) = delete;

    // Every service's base at this server (until endpoints::ResetToDefaults). The redirect server of result
    // links is only compared with, never asked, and keeps its own address.
    void PointEndpoints() const;

    // path begins with "/" and leaves out the query; contains: texts the decoded query and body must all
    // hold.
    void Serve(Endpoint endpoint, const std::string& path, const std::vector<std::string>& contains,
               twtest::HttpReply reply);
    // The page from a file of the tests' data folder (tests/projects/data), sent as text/html.
    void ServeFile(Endpoint endpoint, const std::string& path, const std::vector<std::string>& contains,
                   const QString& fileName);
    // From now on every request to the service is cut off without an answer (a failing service).
    void Fail(Endpoint endpoint);

    std::vector<twtest::RecordedRequest> Requests() const;
    // Requests that went to the service so far.
    int CountRequests(Endpoint endpoint) const;
    std::uint16_t Port() const { return m_listener.Port(); }

    // "/google" and the like: where the service lives on this server.
    static std::string Prefix(Endpoint endpoint);
    // The text of a file of the tests' data folder.
    static std::string ReadDataFile(const QString& fileName);

  private:
    struct Rule {
        std::string path;
        std::vector<std::string> contains;
        twtest::HttpReply reply;
    };
    void Handle(twtest::ServerConnection& connection);
    twtest::HttpReply ReplyFor(const twtest::RecordedRequest& request) const;

    mutable std::mutex m_lock;
    std::vector<Rule> m_rules;
    std::vector<twtest::RecordedRequest> m_requests;
    // Last, so that its threads stop before the members above go away.
    twtest::LoopbackListener m_listener;
};

} // namespace projtest
