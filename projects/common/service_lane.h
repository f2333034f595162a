#pragma once

#include "projects/common/service_step.h"
#include "projects/common/task_values.h"

// One service's requests of a run, one at a time: the step that carries the request over the ticks and the
// task it is for (the index of a keyword or a site; task_value::kNone while the lane is free).
struct CServiceLane {
    CServiceStep step;
    int task = task_value::kNone;

    // The request is over (or dropped): its downloader goes back and the lane is free for the next task.
    void Finish() {
        step.Release();
        task = task_value::kNone;
    }
};
