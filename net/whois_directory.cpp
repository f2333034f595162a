#include "net/whois_directory.h"

#include <map>
#include <mutex>

namespace {

struct Directory {
    std::mutex lock;
    std::shared_ptr<const std::vector<WhoisTableRow>> rows;
    // Keyed by the lower-case server name.
    std::map<QString, WhoisServerAddress> addresses;
};

// Worker threads read the directory while a test on another thread may change it.
Directory& SharedDirectory() {
    static Directory instance;
    return instance;
}

std::shared_ptr<const std::vector<WhoisTableRow>> CompiledRows() {
    static const auto kRows =
        std::make_shared<const std::vector<WhoisTableRow>>(ParseWhoisTable(WhoisTableText()));
    return kRows;
}

} // namespace

namespace whois_directory {

std::shared_ptr<const std::vector<WhoisTableRow>> Rows() {
    Directory& d = SharedDirectory();
    const std::lock_guard guard(d.lock);
    return d.rows ? d.rows : CompiledRows();
}

void SetRows(std::vector<WhoisTableRow> rows) {
    auto shared = std::make_shared<const std::vector<WhoisTableRow>>(std::move(rows));
    Directory& d = SharedDirectory();
    const std::lock_guard guard(d.lock);
    d.rows = std::move(shared);
}

WhoisServerAddress AddressOf(const QString& server) {
    Directory& d = SharedDirectory();
    const std::lock_guard guard(d.lock);
    const auto mapped = d.addresses.find(server.toLower());
    return mapped != d.addresses.end() ? mapped->second : WhoisServerAddress{server};
}

void MapServer(const QString& server, const QString& host, int port) {
    Directory& d = SharedDirectory();
    const std::lock_guard guard(d.lock);
    d.addresses[server.toLower()] = {host, port};
}

void ResetToDefaults() {
    Directory& d = SharedDirectory();
    const std::lock_guard guard(d.lock);
    d.rows.reset();
    d.addresses.clear();
}

} // namespace whois_directory
