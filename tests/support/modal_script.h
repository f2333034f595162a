#pragma once

#include "platform/file_dialog.h"
#include "skin/message_box_dlg.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace skintest {

struct SeenMessage {
    QString text;
    QString caption;
    unsigned type = 0;
};

// Plays the user in every modal run while it lives, once the run's window shows: each run takes the next
// step, in the order the runs open (a message box opened inside a step is the next run), and message boxes
// are recorded. A run without a step, and a file dialog without an answer, are cancelled; a run its step
// leaves open ends after 5 s, so that a failing test never hangs.
class ModalScript {
  public:
    using Step = std::function<void(CSkinDlg_Base&)>;

    ModalScript() {
        CSkinDlg_Base::SetDialogShownHook([this](CSkinDlg_Base& w) { Run(w); });
        AnswerFileDialogs({});
    }
    // Every run takes the one step. File dialogs stay with whoever answers them, so that this can be put
    // over a script that does.
    explicit ModalScript(Step everyRun) : m_everyRun(std::move(everyRun)) {
        CSkinDlg_Base::SetDialogShownHook([this](CSkinDlg_Base& w) { Run(w); });
    }
    ~ModalScript() {
        CSkinDlg_Base::SetDialogShownHook(nullptr);
        if (!m_everyRun)
            plat::SetFileDialogScript(nullptr);
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    void Then(Step step) { m_steps.push_back(std::move(step)); }
    bool Done() const { return m_steps.empty(); }
    // Modal runs of windows of type T are left alone.
    template <typename T> void LeaveAlone() {
        m_leaveAlone = [](CSkinDlg_Base& w) { return dynamic_cast<T*>(&w) != nullptr; };
    }
    template <typename T> static Step On(std::function<void(T&)> act) {
        return [act = std::move(act)](CSkinDlg_Base& w) {
            T* dialog = dynamic_cast<T*>(&w);
            ASSERT_NE(dialog, nullptr) << "another dialog was expected";
            act(*dialog);
        };
    }
    // A message box answered with result (1 OK, 2 Cancel, 6 Yes, 7 No).
    static Step Answer(int result) {
        return On<CMessageBoxDlg>([result](CMessageBoxDlg& box) { box.EndSkinDialog(result); });
    }
    void AnswerFileDialogs(std::vector<plat::FileDialogAnswer> answers) {
        m_fileAnswers.assign(answers.begin(), answers.end());
        plat::SetFileDialogScript([this](const plat::FileDialogRequest& request) {
            fileRequests.push_back(request);
            const plat::FileDialogAnswer answer =
                m_fileAnswers.empty() ? plat::FileDialogAnswer{} : m_fileAnswers.front();
            if (!m_fileAnswers.empty())
                m_fileAnswers.pop_front();
            return answer;
        });
    }
    // Runs the event loop until every step ran (for dialogs that timers open), for at most 3 s.
    bool WaitDone() {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (Done())
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        loop.exec();
        return Done();
    }

    std::vector<SeenMessage> messages;
    std::vector<plat::FileDialogRequest> fileRequests;
    int unscripted = 0;

  private:
    void Run(CSkinDlg_Base& w) {
        if (m_leaveAlone && m_leaveAlone(w))
            return;
        QTimer::singleShot(5000, w.widget(), [&w] {
            plat::Window& window = skin::HostWindow(w);
            if (window.isInModalLoop())
                window.endDialog(-1);
        });
        if (auto* box = dynamic_cast<CMessageBoxDlg*>(&w))
            messages.push_back({box->m_text, box->m_caption, box->m_type});
        if (m_everyRun) {
            m_everyRun(w);
            return;
        }
        if (m_steps.empty()) {
            ++unscripted;
            skin::HostWindow(w).endDialog(2);
            return;
        }
        const Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(w);
    }

    Step m_everyRun;
    std::deque<Step> m_steps;
    std::deque<plat::FileDialogAnswer> m_fileAnswers;
    std::function<bool(CSkinDlg_Base&)> m_leaveAlone;
};

} // namespace skintest
