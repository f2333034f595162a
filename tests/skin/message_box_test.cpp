#include "skin/message_box_dlg.h"
#include "skin/skin_constants.h"
#include "tests/skin/skin_test_support.h"
#include "tests/skin/test_printers.h"
#include "tests/skin/window_events.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::ModalHook;
using skintest::TestDialog;

namespace {

using Act = std::function<void(CMessageBoxDlg&)>;

Act ClickButton(int index) {
    return [index](CMessageBoxDlg& box) {
        const CSkinButton* buttons[] = {&box.m_button1, &box.m_button2, &box.m_button3};
        skintest::ClickAt(box, TestDialog::Centre(*buttons[index]));
    };
}
Act Key(Qt::Key qtKey) {
    return [qtKey](CMessageBoxDlg& box) { QTest::keyClick(box.widget(), qtKey); };
}
// The window manager's close and the title bar's close button.
const Act kClose = [](CMessageBoxDlg& box) { box.widget()->close(); };
const Act kCloseButton = [](CMessageBoxDlg& box) {
    skintest::ClickAt(box, TestDialog::Centre(box.Frame().Button(skin::CaptionButton::Close)));
};

// Without a button Enter does nothing.
const Act kEnterThenEscape = [](CMessageBoxDlg& box) {
    QTest::keyClick(box.widget(), Qt::Key_Return);
    EXPECT_EQ(box.Result(), 0);
    QTest::keyClick(box.widget(), Qt::Key_Escape);
};

} // namespace

// Every button answers its own result; Enter answers the first button when it is OK or Yes; Escape, the
// window manager's close and the close button always answer 2, also where there is no button at all.
TEST(MessageBox, EachButtonSetAnswersItsResults) {
    TestDialog dlg;
    dlg.Open();
    const struct {
        unsigned type;
        QStringList captions;
        std::vector<std::pair<Act, int>> answers;
    } cases[] = {
        {skin::kMessageOk,
         {u"OK"_s},
         {{ClickButton(0), 1}, {Key(Qt::Key_Return), 1}, {Key(Qt::Key_Escape), 2}}},
        {skin::kMessageOkCancel | skin::kMessageExclamation,
         {u"OK"_s, u"Cancel"_s},
         {{ClickButton(0), 1}, {ClickButton(1), 2}, {Key(Qt::Key_Return), 1}, {kClose, 2}}},
        {skin::kMessageYesNoCancel | skin::kMessageQuestion,
         {u"Yes"_s, u"No"_s, u"Cancel"_s},
         {{ClickButton(0), 6}, {ClickButton(1), 7}, {ClickButton(2), 2}, {Key(Qt::Key_Return), 6}}},
        {skin::kMessageYesNo | skin::kMessageQuestion,
         {u"Yes"_s, u"No"_s},
         {{ClickButton(1), 7}, {Key(Qt::Key_Return), 6}, {Key(Qt::Key_Escape), 2}, {kCloseButton, 2}}},
        {0x02, {}, {{kEnterThenEscape, 2}, {kClose, 2}}},
    };
    for (const auto& c : cases) {
        for (const auto& [act, result] : c.answers) {
            QStringList captions;
            QString title;
            ModalHook hook([&](plat::Window& w) {
                auto& box = dynamic_cast<CMessageBoxDlg&>(w);
                title = box.windowText();
                for (const CSkinButton* b : {&box.m_button1, &box.m_button2, &box.m_button3}) {
                    if (b->GetDialog()) {
                        captions.append(b->m_caption);
                    }
                }
                act(box);
            });
            EXPECT_EQ(dlg.MessageBox(u"Are you sure you want to continue?"_s, QString(), c.type), result)
                << c.type;
            EXPECT_EQ(captions, c.captions) << c.type;
            EXPECT_EQ(title, u"Tarnwick 2.0"_s);
        }
    }
}

// A one-line text without an icon gives the least box; beside an icon, and long, the text widens the box;
// a tall text starts level with the icon's top and the box grows with it; the check box pushes the buttons
// down and keeps the state of its last click, also when the box is then closed by Escape.
TEST(MessageBox, LayoutFollowsTheTextAndTheCheckBox) {
    TestDialog dlg;
    dlg.Open();
    const QString longText =
        u"The project could not be saved because the destination folder is not writable."_s;
    const struct {
        QString text;
        unsigned type;
        bool neverAgain;
    } cases[] = {
        {u"Done."_s, skin::kMessageOk, false},
        {longText, skin::kMessageOk | skin::kMessageStop, false},
        {u"One\nTwo\nThree\nFour"_s, skin::kMessageOk | skin::kMessageStop, false},
        {u"Done."_s, skin::kMessageOk, true},
    };
    int buttonTop = 0;
    for (const auto& c : cases) {
        plat::Size size;
        plat::Rect text;
        plat::Point button;
        CMessageBoxDlg box(&dlg, c.text, u"Critical error"_s, c.type);
        box.m_showNeverAgain = c.neverAgain;
        ModalHook hook([&](plat::Window&) {
            size = box.clientSize();
            text = plat::Rect::fromXywh(box.m_textLabel.m_x, box.m_textLabel.m_y, box.m_textLabel.m_width,
                                        box.m_textLabel.m_height);
            button = box.m_button1.GetDialogPos();
            if (c.neverAgain) {
                skintest::ClickAt(box, TestDialog::Centre(box.m_neverAgainBox));
                // The first Escape takes the focus from the check box, the second closes.
                QTest::keyClick(box.widget(), Qt::Key_Escape);
                QTest::keyClick(box.widget(), Qt::Key_Escape);
            } else {
                box.EndSkinDialog(skin::kResultOk);
            }
        });
        box.DoModal();
        if (c.text == longText) {
            EXPECT_GT(size.cx, 260);
            EXPECT_EQ(size.cx, text.width() - 1 + 131);
            EXPECT_EQ(text.left, 98);
        } else if (c.text.contains(u'\n')) {
            EXPECT_EQ(text.top, 40);
            EXPECT_EQ(size.cy, text.height() - 1 + 10 + 95);
        } else if (!c.neverAgain) {
            EXPECT_EQ(size, (plat::Size{260, 135}));
            EXPECT_EQ(text.left, 50);
            buttonTop = button.y;
        } else {
            EXPECT_EQ(button.y, buttonTop + 27);
            EXPECT_TRUE(box.m_neverAgain);
        }
        EXPECT_EQ(button.x + 45, size.cx / 2) << "one button stands in the middle";
    }
}
