#pragma once

#include "projects/common/service_step.h"

// One service's requests of a run, one at a time: the step that carries the request over the ticks and the
// task it is for (the index of a keyword or a site; -1 while the lane is free).
struct CServiceLane {
    CServiceStep step;
    int task = -1;

    // The request is over (or dropped): its downloader goes back and the lane is free for the next task.
    void Finish() {
        step.Release();
        task = -1;
    }
};
