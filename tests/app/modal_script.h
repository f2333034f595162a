#pragma once

#include "platform/file_dialog.h"
#include "platform/window.h"
#include "skin/message_box_dlg.h"
#include "skin/skin_dlg_base.h"

#include <QEventLoop>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

namespace apptest {

// One message box as the user saw it.
struct SeenMessage {
    QString text;
    QString caption;
    unsigned type = 0;
};

// Plays the user in every modal run while it lives: each run takes the next step, in the order the runs
// open (a message box opened from inside a step is the next run). Message boxes are recorded. A run without
// a step is cancelled at once, as is a file dialog without an answer; a run its step leaves open ends after a
// few seconds, so a failing test never hangs.
class ModalScript {
  public:
    using Step = std::function<void(plat::Window&)>;

    explicit ModalScript(std::vector<Step> steps = {}) : m_steps(steps.begin(), steps.end()) {
        plat::Window::setModalShownHook([this](plat::Window& w) { Run(w); });
        AnswerFileDialogs({});
    }
    ~ModalScript() {
        plat::Window::setModalShownHook(nullptr);
        plat::setFileDialogScript(nullptr);
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    void Then(Step step) { m_steps.push_back(std::move(step)); }
    // Modal runs of windows of type T are left to themselves: they take no step and are not cancelled.
    template <typename T> void LeaveAlone() {
        m_leaveAlone = [](plat::Window& w) { return dynamic_cast<T*>(&w) != nullptr; };
    }
    bool Done() const { return m_steps.empty(); }

    // A message box answered with result (1 OK, 2 Cancel, 6 Yes, 7 No).
    static Step Answer(int result) {
        return [result](plat::Window& w) {
            auto* box = dynamic_cast<CMessageBoxDlg*>(&w);
            ASSERT_NE(box, nullptr) << "a message box was expected";
            box->EndSkinDialog(result);
        };
    }
    // A step on a dialog of type T.
    template <typename T> static Step On(std::function<void(T&)> act) {
        return [act = std::move(act)](plat::Window& w) {
            T* dialog = dynamic_cast<T*>(&w);
            ASSERT_NE(dialog, nullptr) << "another dialog was expected";
            act(*dialog);
        };
    }

    // File dialogs answer with these, in order; a dialog beyond them is cancelled.
    void AnswerFileDialogs(std::vector<plat::FileDialogAnswer> answers) {
        m_fileAnswers.assign(answers.begin(), answers.end());
        plat::setFileDialogScript([this](const plat::FileDialogRequest& request) {
            fileRequests.push_back(request);
            if (m_fileAnswers.empty())
                return plat::FileDialogAnswer{};
            plat::FileDialogAnswer answer = m_fileAnswers.front();
            m_fileAnswers.pop_front();
            return answer;
        });
    }

    // Runs the event loop until every step ran (timers that open dialogs), at most timeoutMs.
    bool WaitDone(int timeoutMs = 3000) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (Done())
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        if (!Done())
            loop.exec();
        return Done();
    }

    static constexpr int kCancelled = 2;

    std::vector<SeenMessage> messages;
    std::vector<plat::FileDialogRequest> fileRequests;
    int unscripted = 0;

  private:
    void Run(plat::Window& w) {
        if (m_leaveAlone && m_leaveAlone(w))
            return;
        QTimer::singleShot(5000, w.widget(), [&w] {
            if (w.isInModalLoop())
                w.endDialog(-1);
        });
        if (auto* box = dynamic_cast<CMessageBoxDlg*>(&w))
            messages.push_back({box->m_text, box->m_caption, box->m_type});
        if (m_steps.empty()) {
            ++unscripted;
            w.endDialog(kCancelled);
            return;
        }
        const Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(w);
    }

    std::deque<Step> m_steps;
    std::deque<plat::FileDialogAnswer> m_fileAnswers;
    std::function<bool(plat::Window&)> m_leaveAlone;
};

} // namespace apptest
