#pragma once

#include "tests/projects/fixture_server.h"
#include "tests/support/closed_port.h"
#include "tests/support/http_server.h"

#include <QByteArray>
#include <string>
#include <utility>
#include <vector>

namespace projtest {

// The outside sites that kinds 6 and 7 find among the results, each a loopback server of its own so that
// each has its own host and port:
//   A  a script that sets an ad client, and a newsletter form (e-mail input);
//   B  moves to /home.html, whose ad unit names its client in an attribute; a sign-in form only;
//   C  no ad client (a script names one without a value) and a sign-up form without an action;
//   D  refuses connections; E  cuts every connection off; F  answers 404 with an ad client in the page.
// The result pages (data/kind6/google_page*.html) name them {A} to {F}.
class Project6Sites {
  public:
    Project6Sites();

    std::string Host(char site) const;
    // text with every {X} replaced by the site's host and port.
    std::string Fill(std::string text) const;
    // Exported bytes with every site's host and port replaced by "site-x", for comparing with a data file.
    QByteArray Mask(QByteArray bytes) const;
    // The engine's result pages, the page ranks of A, B and C, and the traffic ranks of A and C (B's
    // traffic reply holds no rank).
    void ServeServices(FixtureServer& server) const;

    twtest::HttpServer a, b, c, e, f;
    twtest::ClosedPort d;

  private:
    std::vector<std::pair<char, std::uint16_t>> Ports() const;
};

} // namespace projtest
