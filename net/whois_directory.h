#pragma once

#include "net/whois_table.h"

#include <memory>
#include <vector>

// The whois rows that lookups use: the compiled table, unless a test has put its own rows (suffixes mapped
// to fixture servers) in its place.
namespace whois_directory {

std::shared_ptr<const std::vector<WhoisTableRow>> rows();
void setRows(std::vector<WhoisTableRow> rows);
// Back to the compiled table.
void resetToDefaults();

} // namespace whois_directory
