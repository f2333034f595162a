#include "platform/answer_wait.h"

#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>
#include <memory>
#include <optional>

namespace plat {

namespace {

// User-interface thread only, as the event loop it runs.
bool g_waiting = false;

// Shared with the sink, which may outlive the wait.
struct PendingAnswer {
    std::optional<QVariant> answer;
    QEventLoop* loop = nullptr;
    bool open = true;
};

} // namespace

bool WaitForAnswer(int timeoutMs, const std::function<void(const AnswerSink& sink)>& start,
                   QVariant* answer) {
    if (g_waiting)
        return false;
    g_waiting = true;
    const auto done = qScopeGuard([] { g_waiting = false; });
    const auto pending = std::make_shared<PendingAnswer>();
    start([pending](const QVariant& value) {
        if (!pending->open || pending->answer)
            return;
        pending->answer = value;
        if (pending->loop)
            pending->loop->quit();
    });
    if (!pending->answer && timeoutMs > 0) {
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(timeoutMs);
        pending->loop = &loop;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        pending->loop = nullptr;
    }
    pending->open = false;
    if (!pending->answer)
        return false;
    *answer = *pending->answer;
    return true;
}

} // namespace plat
