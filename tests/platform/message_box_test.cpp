#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PlainMessageBox, ShowsTextAndCaptionWithOnlyOkAndReturnsWhenClosed) {
    QString caption, text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool seen = false;
    // Reads the box once it runs, then closes it as the user would.
    const auto inspect = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return false;
        seen = true;
        caption = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
        return true;
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (inspect())
            poll.stop();
    });
    poll.start(10);
    plat::showPlainMessageBox(u"Tarnwick 2.0"_s, u"The data folder cannot be created."_s);
    ASSERT_TRUE(seen);
    EXPECT_EQ(caption, u"Tarnwick 2.0"_s);
    EXPECT_EQ(text, u"The data folder cannot be created."_s);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(icon, QMessageBox::Critical);
}
