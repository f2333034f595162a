#pragma once

#include "net/whois_table.h"

#include <QString>
#include <memory>
#include <vector>

// Where a whois server is reached.
struct WhoisServerAddress {
    QString host;
    int port = 43;
};

// The whois rows that lookups use, and where their servers are reached: the compiled table and each
// server's own name on the whois port, unless a test has put its own rows in place or sent a server name
// to a fixture server on loopback.
namespace whois_directory {

std::shared_ptr<const std::vector<WhoisTableRow>> Rows();
void SetRows(std::vector<WhoisTableRow> rows);

WhoisServerAddress AddressOf(const QString& server);
// Queries for server (any letter case) go to host and port from now on.
void MapServer(const QString& server, const QString& host, int port);

// Back to the compiled table and the servers' own addresses.
void ResetToDefaults();

} // namespace whois_directory
