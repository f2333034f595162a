#pragma once

#include <QString>
#include <cstdint>

// One record of the crawler's pacing table: how requests to one outside service are spaced.
struct CProjectCrawler_Courtasy {
    // The service name the record was first asked for under.
    QString service;
    // Pool index of the slot that holds the service, -1 none.
    int holder = -1;
    // Gap in milliseconds to keep after the holder is given back.
    std::int64_t delay = 0;
    // Reserved by its caller across several requests until UpdateHostTiming.
    bool busy = false;
    // Earliest time of the next request, on the monotonic millisecond clock (64 bits: it never wraps).
    std::int64_t nextAllowed = 0;
};
