#pragma once

#include "skin/skin_dlg.h"
#include "skin/skin_label.h"
#include "skin/skin_progress.h"

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// A message with a progress bar while a worker thread runs. The user cannot close it: it ends (with 1) on
// the first timer tick after the worker said it is done.
class CProgressBoxDlg : public CSkinDlg {
  public:
    // Runs on its own thread and gets the dialog: it writes m_progress, may call SetMessage, and sets
    // m_done last.
    using WorkerProc = std::function<void(CProgressBoxDlg& dialog)>;

    // workerParam is for the worker to read; niceness > 0 runs the worker at that much lower priority.
    CProgressBoxDlg(CSkinDlg_Base* parent, const QString& message, WorkerProc worker, int workerParam,
                    int niceness = 0);
    // Waits for a worker still running: it uses the dialog.
    ~CProgressBoxDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;
    void DrawBackground(plat::DeviceContext& dc) override;
    void OnTimer(unsigned id) override;

    // Replaces the message: at once on the user-interface thread, at the next tick from the worker.
    void SetMessage(const QString& text);

    static constexpr unsigned kTimerId = 1;
    static constexpr int kTimerMs = 200;

    const int m_workerParam;
    // 0 to 100, shown as a whole number.
    std::atomic<float> m_progress{0.0f};
    std::atomic<bool> m_done{false};

    CSkinLabel m_label;
    CSkinProgress m_bar;

  private:
    void ShowMessage(const QString& text);

    QString m_message;
    WorkerProc m_worker;
    const int m_niceness;
    bool m_startPending = false;
    const std::thread::id m_uiThread;
    std::mutex m_messageLock;
    QString m_pendingMessage; // guarded by m_messageLock
    bool m_messagePending = false;
    std::thread m_thread;
};
