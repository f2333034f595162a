#include "skin/skin_constants.h"
#include "skin/web/html_message_box_dlg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The message's HTML shows in the box's view with the caption as title; the OK button ends the box with 1.
TEST(HtmlMessageBox, ShowsTheMessageAndEndsWithOk) {
    CHTMLMessageBoxDlg box(nullptr, u"<b>3 reports</b> were<br>exported &amp; saved"_s,
                           u"Tarnwick 2.0 :: Export"_s, 420, 220);
    QString shown;
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer poll;
    // Polled as a dialog timer would: the engine makes no progress inside a handler that spins the loop.
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!box.m_viewer.IsIdle() && elapsed.elapsed() < 20'000)
            return;
        poll.stop();
        box.m_viewer.GetPlainText(shown);
        const plat::Point at = box.m_okButton.GetDialogPos();
        box.onMouseMove(at.x + 5, at.y + 5);
        box.onLButtonDown(at.x + 5, at.y + 5);
        box.onLButtonUp(at.x + 5, at.y + 5);
    });
    poll.start(50);
    QTimer::singleShot(30'000, box.widget(), [&] {
        if (skin::HostWindow(box).isInModalLoop())
            skin::HostWindow(box).endDialog(-1);
    });
    EXPECT_EQ(box.DoModal(), skin::kResultOk);
    EXPECT_EQ(shown, u"3 reports were exported & saved"_s);
    EXPECT_EQ(box.Title(), u"Tarnwick 2.0 :: Export"_s);
}
