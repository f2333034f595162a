#pragma once

#include <QString>
#include <span>
#include <vector>

// One row of the whois table: a domain that ends in "." and the suffix is asked of the server, and a reply
// that holds the marker says the server does not know the name.
struct WhoisTableRow {
    QString suffix;
    QString marker;
    QString server;

    friend bool operator==(const WhoisTableRow&, const WhoisTableRow&) = default;
};

// The row that ends the table text.
inline constexpr char kWhoisTableEnd[] = "--END--";

// The table compiled into the program, as text rows "suffix|marker|server" in the order their servers are
// asked, closed by the end row.
std::span<const char* const> WhoisTableText();

// The rows of table text up to its end row (or its last row); a row that lacks either "|" is skipped.
std::vector<WhoisTableRow> ParseWhoisTable(std::span<const char* const> text);
