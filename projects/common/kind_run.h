#pragma once

#include "projects/common/service_lane.h"

#include <QString>
#include <vector>

class CDownloader;
class CDownloader_HTMLTags;
class CProjectBar;

// What a kind gives its run: the tasks of each of its service lanes, how the request for a task is asked,
// and how its reply is kept. A task is whatever the kind counts its work in (a keyword, a site, the number
// of a request).
class CRunHooks {
  public:
    enum class Reply {
        Stored,   // the task is answered (or given its no-data value) and counts as done
        AskAgain, // the reply answers nothing yet: the same task is asked again on a later step
    };

    // The next task of lane, task_value::kNone when it has none now.
    virtual int NextTask(int lane) = 0;
    // One step of the request for the lane's task, on the lane's step (Run or RunSteps).
    virtual CServiceStep::Result StartTask(int lane, CServiceLane& request) = 0;
    // Keeps what the finished request brought; reply is null when the exchange failed (MarkFailed was told
    // first), and the task then takes its no-data value so that it is not asked again in this run.
    virtual Reply StoreReply(int lane, int task, const CDownloader* reply) = 0;
    // The lane's task failed with error (as the bar lists it): a kind whose tasks fill cells marks the
    // record, so that its cell reads "Failed" and Start can ask it again. Kinds whose tasks add rows show
    // the failure on the bar only.
    virtual void MarkFailed(int /*lane*/, int /*task*/, const QString& /*error*/) {}
    // The service a lane's task asks and what it asks about, as an error names them.
    virtual QString ServiceName(int lane, int task) const = 0;
    virtual QString Subject(int lane, int task) const = 0;
    // Whether anything is left to ask; the run is done once no lane holds a task and nothing is left.
    virtual bool WorkLeft() const = 0;
    // The reports after the records changed.
    virtual void ContentChanged() = 0;
    // The requests done and called for so far, for kinds whose records tell them (their sites appear as
    // searches answer); false lets the run count one per answered request of the total Start was given.
    virtual bool CountRequests(int& /*done*/, int& /*total*/) const { return false; }

  protected:
    ~CRunHooks() = default;
};

// The run of a kind's requests over the project tick: its state, its service lanes (one request each at a
// time) and what the project bar shows of it: the Start/Stop button, "n of m requests, k failed" and the
// failed exchanges ("Service (keyword): error"; the run goes on), the latest on the error line.
class CKindRun {
  public:
    enum class State { Idle, Running, Done };

    CKindRun(CProjectBar& bar, CRunHooks& hooks, int lanes);
    CKindRun(const CKindRun&) = delete;
    CKindRun& operator=(const CKindRun&) = delete;

    // A new count of total requests and no failure listed; nothing (false) when the hooks have nothing to
    // ask, so the bar keeps what it shows.
    bool Start(int total = 0);
    // As Start, for a run that goes on with what is left: the failures stay listed until their tasks are
    // asked again.
    bool GoOn(int total = 0);
    // Running again with the count and the error as they stand.
    void Resume();
    // Gives back every lane's downloader; a running run stops where it stands.
    void Stop();
    // One step of every lane: a free lane takes its next task, a held request is polled, a finished one
    // is stored and counted.
    void Step();

    // A lane's task failed: the bar lists and counts it, and the hooks mark it (MarkFailed).
    void Fail(int lane, int task, const QString& error);
    // A message of the kind's own on the bar's error line; empty clears it.
    void SetError(const QString& text);
    void SetProgress(int done, int total);

    // The state ("m_status": a run saved while running reads back stopped), the count and the error.
    void SaveXml(CDownloader_HTMLTags* root) const;
    // olderDone: the value an older file of the kind saved for a finished run, besides today's.
    void LoadXml(const CDownloader_HTMLTags* root, int olderDone = kSavedDone);

    State GetState() const { return m_state; }
    bool IsRunning() const { return m_state == State::Running; }
    int Done() const;
    int Total() const;
    CServiceLane& Lane(int lane) { return m_lanes[static_cast<std::size_t>(lane)]; }
    const CServiceLane& Lane(int lane) const { return m_lanes[static_cast<std::size_t>(lane)]; }
    int LaneCount() const { return static_cast<int>(m_lanes.size()); }

    static constexpr int kSavedIdle = 0;
    static constexpr int kSavedDone = 2;

  private:
    void SetState(State state);
    void ReleaseLanes();
    // Shows the count the hooks give, if they give one.
    void ShowCount();
    // One step of one lane; true when its request was answered.
    bool StepLane(int lane);

    CProjectBar& m_bar;
    CRunHooks& m_hooks;
    // Built once at their count: a lane's step is never moved while it holds a downloader.
    std::vector<CServiceLane> m_lanes;
    State m_state = State::Idle;
    // The run may ask tasks that failed before (it goes on, or checks again), so a task it asks takes its
    // earlier failures off the bar's list; a new run asks each task once and keeps every failure listed.
    bool m_asksAgain = false;
};
