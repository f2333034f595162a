#include "net/whois_directory.h"

#include <mutex>

namespace {

struct Directory {
    std::mutex lock;
    std::shared_ptr<const std::vector<WhoisTableRow>> rows;
};

// Worker threads read the rows while a test on another thread may swap them.
Directory& directory() {
    static Directory instance;
    return instance;
}

std::shared_ptr<const std::vector<WhoisTableRow>> compiledRows() {
    static const auto rows =
        std::make_shared<const std::vector<WhoisTableRow>>(ParseWhoisTable(WhoisTableText()));
    return rows;
}

} // namespace

namespace whois_directory {

std::shared_ptr<const std::vector<WhoisTableRow>> rows() {
    Directory& d = directory();
    const std::lock_guard guard(d.lock);
    return d.rows ? d.rows : compiledRows();
}

void setRows(std::vector<WhoisTableRow> rows) {
    auto shared = std::make_shared<const std::vector<WhoisTableRow>>(std::move(rows));
    Directory& d = directory();
    const std::lock_guard guard(d.lock);
    d.rows = std::move(shared);
}

void resetToDefaults() {
    Directory& d = directory();
    const std::lock_guard guard(d.lock);
    d.rows.reset();
}

} // namespace whois_directory
