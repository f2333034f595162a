#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PlainMessageBox, ShowsTextAndCaptionWithOnlyOkAndReturnsWhenClosed) {
    QString seen;
    // Reads the box once it runs, then closes it as the user would.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        seen = u"%1|%2|%3|%4"_s.arg(box->windowTitle(), box->text())
                   .arg(int(box->standardButtons()))
                   .arg(int(box->icon()));
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    plat::ShowPlainMessageBox(u"Tarnwick 2.0"_s, u"The data folder cannot be created."_s);
    EXPECT_EQ(seen, u"Tarnwick 2.0|The data folder cannot be created.|%1|%2"_s.arg(int(QMessageBox::Ok))
                        .arg(int(QMessageBox::Critical)));
}
