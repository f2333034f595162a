#pragma once

#include <QVariant>
#include <functional>

namespace plat {

// Takes the answer a request produces later; safe to call at any time, also after the wait has ended.
using AnswerSink = std::function<void(const QVariant& answer)>;

// Waits for an answer that arrives later through the event loop (a browser engine answering a script):
// start begins the request and is given the sink for its answer; a local event loop then runs, leaving user
// input queued, until the answer arrives or timeoutMs has passed. An answer after the time-out is dropped.
// While one wait runs, another answers false at once without starting its request: a nested loop would hold
// the outer one until it ended. True, with *answer set, when the answer came in time.
bool WaitForAnswer(int timeoutMs, const std::function<void(const AnswerSink& sink)>& start, QVariant* answer);

} // namespace plat
