#include "projects/common/kind_run.h"

#include "projects/common/project_bar.h"
#include "projects/common/record_xml.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kStatusKey = u"m_status"_s;

} // namespace

CKindRun::CKindRun(CProjectBar& bar, CRunHooks& hooks, int lanes)
    : m_bar(bar), m_hooks(hooks), m_lanes(static_cast<std::size_t>(lanes)) {}

bool CKindRun::Start(int total) {
    if (!m_hooks.WorkLeft())
        return false;
    m_bar.ClearFailures();
    const bool started = GoOn(total);
    // A new run asks every task once: none of its failures is asked again.
    m_asksAgain = false;
    return started;
}

bool CKindRun::GoOn(int total) {
    if (!m_hooks.WorkLeft())
        return false;
    m_asksAgain = true;
    ReleaseLanes();
    SetState(State::Running);
    m_bar.SetProgress(0, total);
    ShowCount();
    return true;
}

void CKindRun::Resume() {
    m_asksAgain = true;
    SetState(State::Running);
}

void CKindRun::Stop() {
    ReleaseLanes();
    if (m_state == State::Running)
        SetState(State::Idle);
}

void CKindRun::Step() {
    if (m_state != State::Running)
        return;
    int answered = 0;
    for (int lane = 0; lane < LaneCount(); ++lane)
        answered += StepLane(lane) ? 1 : 0;
    if (answered > 0) {
        m_bar.SetProgress(std::min(Done() + answered, Total()), Total());
        m_hooks.ContentChanged();
    }
    const bool busy =
        std::any_of(m_lanes.begin(), m_lanes.end(), [](const CServiceLane& l) { return l.task >= 0; });
    if (!busy && !m_hooks.WorkLeft()) {
        m_bar.SetProgress(Total(), Total());
        SetState(State::Done);
    }
    ShowCount();
}

bool CKindRun::StepLane(int index) {
    CServiceLane& lane = Lane(index);
    if (lane.task < 0) {
        lane.task = m_hooks.NextTask(index);
        if (lane.task < 0)
            return false;
        // Asked again: an earlier failure of the task leaves the list.
        if (m_asksAgain)
            m_bar.ForgetFailures(m_hooks.ServiceName(index, lane.task), m_hooks.Subject(index, lane.task));
    }
    const CServiceStep::Result result = m_hooks.StartTask(index, lane);
    if (result == CServiceStep::Result::Waiting)
        return false;
    const bool failed = result == CServiceStep::Result::Failed;
    if (failed)
        Fail(index, lane.task, lane.step.Error());
    const CRunHooks::Reply reply =
        m_hooks.StoreReply(index, lane.task, failed ? nullptr : lane.step.Downloader());
    lane.Finish();
    return reply == CRunHooks::Reply::Stored;
}

void CKindRun::Fail(int lane, int task, const QString& error) {
    m_hooks.MarkFailed(lane, task,
                       m_bar.AddFailure(m_hooks.ServiceName(lane, task), m_hooks.Subject(lane, task), error));
}

void CKindRun::SetError(const QString& text) {
    m_bar.SetError(text);
}

void CKindRun::SetProgress(int done, int total) {
    m_bar.SetProgress(done, total);
}

int CKindRun::Done() const {
    return m_bar.Done();
}

int CKindRun::Total() const {
    return m_bar.Total();
}

void CKindRun::SaveXml(CDownloader_HTMLTags* root) const {
    record_xml::SaveValue(root, kStatusKey, m_state == State::Done ? kSavedDone : kSavedIdle);
    m_bar.SaveXml(root);
}

void CKindRun::LoadXml(const CDownloader_HTMLTags* root, int olderDone) {
    Stop();
    const int saved = record_xml::LoadInt(root, kStatusKey, kSavedIdle);
    SetState(saved == kSavedDone || saved == olderDone ? State::Done : State::Idle);
    m_bar.LoadXml(root);
    ShowCount();
}

void CKindRun::SetState(State state) {
    m_state = state;
    m_bar.SetRunning(state == State::Running);
}

void CKindRun::ReleaseLanes() {
    for (CServiceLane& lane : m_lanes)
        lane.Finish();
}

void CKindRun::ShowCount() {
    int done = 0;
    int total = 0;
    if (m_hooks.CountRequests(done, total) && (done != Done() || total != Total()))
        m_bar.SetProgress(done, total);
}
