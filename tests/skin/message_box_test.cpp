#include "skin/message_box_dlg.h"
#include "skin/skin_constants.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"
#include "tests/support/window_events.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::TestDialog;

namespace {

// A button set no caller uses: the box shows no button at all.
constexpr unsigned kNoButtonSet = 0x02;

enum Answer { kFirst, kSecond, kThird, kEnter, kEscape, kClose, kCloseButton };

void Give(CMessageBoxDlg& box, Answer answer) {
    const CSkinElement* targets[] = {&box.m_button1, &box.m_button2, &box.m_button3,
                                     &box.Frame().Button(skin::CaptionButton::Close)};
    if (answer == kEnter || answer == kEscape)
        QTest::keyClick(box.widget(), answer == kEnter ? Qt::Key_Return : Qt::Key_Escape);
    else if (answer == kClose)
        box.widget()->close(); // as the window manager closes
    else
        skintest::ClickOn(box, *targets[answer == kCloseButton ? 3 : answer]);
}

} // namespace

// Every button answers its own result; Enter answers the first button when it is OK or Yes and does nothing
// without buttons; Escape, the window manager's close and the close button always answer 2.
TEST(MessageBox, EachButtonSetAnswersItsResults) {
    TestDialog dlg;
    dlg.Open();
    const struct {
        unsigned type;
        QStringList captions;
        std::vector<std::pair<std::vector<Answer>, int>> answers;
    } cases[] = {
        {skin::kMessageOk, {u"OK"_s}, {{{kFirst}, 1}, {{kEnter}, 1}, {{kEscape}, 2}}},
        {skin::kMessageOkCancel, {u"OK"_s, u"Cancel"_s}, {{{kSecond}, 2}, {{kEnter}, 1}, {{kClose}, 2}}},
        {skin::kMessageYesNoCancel | skin::kMessageQuestion,
         {u"Yes"_s, u"No"_s, u"Cancel"_s},
         {{{kFirst}, 6}, {{kSecond}, 7}, {{kThird}, 2}, {{kEnter}, 6}}},
        {skin::kMessageYesNo | skin::kMessageQuestion,
         {u"Yes"_s, u"No"_s},
         {{{kEscape}, 2}, {{kCloseButton}, 2}}},
        {kNoButtonSet, {}, {{{kEnter, kEscape}, 2}, {{kClose}, 2}}},
    };
    for (const auto& c : cases) {
        for (const auto& [answers, result] : c.answers) {
            QStringList captions;
            // Captured by name: clang before 16 cannot capture a structured binding.
            skintest::ModalScript hook([&, &answers = answers](CSkinDlg_Base& w) {
                auto& box = dynamic_cast<CMessageBoxDlg&>(w);
                EXPECT_EQ(skin::HostWindow(box).windowText(), u"Tarnwick 2.0"_s);
                for (const CSkinButton* b : {&box.m_button1, &box.m_button2, &box.m_button3})
                    if (b->GetDialog())
                        captions.append(b->m_caption);
                for (const Answer answer : answers)
                    Give(box, answer);
            });
            EXPECT_EQ(dlg.MessageBox(u"Are you sure you want to continue?"_s, QString(), c.type), result)
                << c.type;
            EXPECT_EQ(captions, c.captions) << c.type;
        }
    }
}

// A long text beside an icon widens the box and keeps the text clear of the icon. The check box puts the
// buttons lower and keeps the state of its last click, also when the box is then closed by Escape (the first
// Escape only takes the focus from the box).
TEST(MessageBox, LayoutFollowsTheTextAndTheCheckBox) {
    TestDialog dlg;
    dlg.Open();
    const QString longText =
        u"The project could not be saved because the destination folder is not writable."_s;
    struct Seen {
        plat::Size size;
        plat::Rect text;
        int buttonTop = 0;
        bool neverAgain = false;
    };
    auto run = [&](const QString& text, unsigned type, bool neverAgain) {
        Seen seen;
        CMessageBoxDlg box(&dlg, text, u"Critical error"_s, type);
        box.m_showNeverAgain = neverAgain;
        skintest::ModalScript hook([&](CSkinDlg_Base&) {
            seen.size = skin::HostWindow(box).clientSize();
            const CSkinLabel& label = box.m_textLabel;
            seen.text = plat::Rect::fromXywh(label.m_x, label.m_y, label.m_width, label.m_height);
            seen.buttonTop = box.m_button1.m_y;
            if (neverAgain) {
                skintest::ClickOn(box, box.m_neverAgainBox);
                QTest::keyClick(box.widget(), Qt::Key_Escape);
            }
            QTest::keyClick(box.widget(), Qt::Key_Escape);
        });
        EXPECT_EQ(box.DoModal(), skin::kResultCancel);
        seen.neverAgain = box.m_neverAgain;
        return seen;
    };
    const Seen least = run(u"Done."_s, skin::kMessageOk, false);
    const Seen wide = run(longText, skin::kMessageOk | skin::kMessageStop, false);
    EXPECT_GT(wide.size.cx, least.size.cx);
    EXPECT_GT(wide.text.left, least.text.left);
    EXPECT_LE(wide.text.right, wide.size.cx);
    const Seen checked = run(u"Done."_s, skin::kMessageOk, true);
    EXPECT_GT(checked.buttonTop, least.buttonTop);
    EXPECT_TRUE(checked.neverAgain);
}
