#pragma once

#include <QString>

// One worker-status row of the crawler: what a download thread is doing, for a report that shows it.
struct CProjectCrawler_thread_Status {
    static constexpr int kNoState = 0xFFFFFF;

    QString server;
    QString operation;
    QString status;
    // Picks the row's colours in the report; kNoState as made.
    int state = kNoState;
};
