#include "platform/keys.h"
#include "skin/commands.h"
#include "skin/progress_box_dlg.h"
#include "skin/skin_constants.h"

#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>

using namespace Qt::StringLiterals;

// The worker reports progress and a new message from its own thread; neither Escape, Enter, the close
// command nor the window manager's close ends the box, only the worker's done flag does, and the worker runs
// at the lower priority asked for with the integer it was given.
TEST(ProgressBox, OnlyTheWorkerEndsItAndWhatItReportsReachesTheDialog) {
    std::atomic<bool> release{false};
    std::atomic<int> paramSeen{0};
    std::atomic<int> niceSeen{-100};
    const int ownNice = ::getpriority(PRIO_PROCESS, 0);
    CProgressBoxDlg box(
        nullptr, u"Counting the keywords of the project"_s,
        [&](CProgressBoxDlg& dialog) {
            paramSeen = dialog.m_workerParam;
            niceSeen = ::getpriority(PRIO_PROCESS, 0);
            dialog.m_progress = 40.7f;
            dialog.SetMessage(u"Half way"_s);
            while (!release.load())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            dialog.m_progress = 1e30f; // out of range: the bar shows its end
            dialog.m_done = true;
        },
        7, 5);
    int stillOpenAfterClosing = -1;
    QTimer::singleShot(
        700, box.widget(),
        [&] {
            EXPECT_EQ(box.m_bar.m_position, 40);
            EXPECT_EQ(box.m_label.GetText(), u"Half way"_s);
            for (const int key : {plat::kKeyEscape, plat::kKeyEnter}) {
                box.onKeyDown(key, 0, false);
                box.onKeyUp(key, 0, false);
            }
            box.OnCommand(skin::cmd::kDefaultClose, 0);
            box.onClose();
            QTimer::singleShot(
                300, box.widget(),
                [&] {
                    stillOpenAfterClosing = skin::HostWindow(box).isInModalLoop() && box.Result() == 0;
                    release = true;
                });
        });
    QTimer::singleShot(10'000, box.widget(), [&] {
        if (skin::HostWindow(box).isInModalLoop())
            skin::HostWindow(box).endDialog(-1);
    });
    EXPECT_EQ(box.DoModal(), skin::kResultOk);
    EXPECT_EQ(stillOpenAfterClosing, 1);
    EXPECT_EQ(box.m_bar.m_position, 100);
    EXPECT_EQ(paramSeen.load(), 7);
    EXPECT_EQ(niceSeen.load(), std::min(ownNice + 5, 19));
}
