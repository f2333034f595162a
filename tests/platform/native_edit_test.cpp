#include "platform/clipboard.h"
#include "platform/font.h"
#include "platform/keys.h"
#include "platform/native_edit.h"
#include "tests/platform/recording_window.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using plat::Rect;
using twtest::RecordingWindow;

namespace {

class RecordingEdit : public plat::NativeEdit {
  public:
    using plat::NativeEdit::NativeEdit;

    int changes = 0;
    int focusIns = 0;
    std::vector<int> keyUps;
    std::vector<bool> tabs;
    std::function<void(RecordingEdit&)> onKey;

  protected:
    void onChange() override { ++changes; }
    bool onKeyUp(int key, unsigned /*modifiers*/) override {
        keyUps.push_back(key);
        if (onKey)
            onKey(*this);
        return true;
    }
    void onTab(bool backwards) override { tabs.push_back(backwards); }
    void onSetFocus() override { ++focusIns; }
};

class NativeEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(window.showAt(Rect::fromXywh(100, 100, 400, 300)));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.widget()));
    }
    std::unique_ptr<RecordingEdit> Make(unsigned style, Rect rect = Rect::fromXywh(10, 10, 200, 24)) {
        auto edit = std::make_unique<RecordingEdit>(window, rect, style, font);
        edit->setFocus();
        return edit;
    }

    RecordingWindow window;
    plat::Font font;
};

} // namespace

// Typing is reported, text the program sets is not; releases never reach the window below, F1 still does;
// Tab and Shift+Tab go to the owner and leave the focus where it is.
TEST_F(NativeEditTest, TypingReachesTheOwnerAndTabIsTheOwners) {
    auto edit = Make(0);
    edit->setText(u"abc"_s);
    edit->setCaretToEnd();
    EXPECT_EQ(edit->changes, 0);
    EXPECT_EQ(edit->focusIns, 1);
    QTest::keyClicks(edit->widget(), u"dx"_s);
    EXPECT_EQ(edit->text(), u"abcdx"_s);
    EXPECT_EQ(edit->changes, 2);
    EXPECT_EQ(edit->keyUps.front(), 'D');
    QTest::keyClick(edit->widget(), Qt::Key_Tab);
    QTest::keyClick(edit->widget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(edit->tabs, (std::vector<bool>{false, true}));
    EXPECT_TRUE(edit->hasFocus());
    QTest::keyClick(edit->widget(), Qt::Key_F1);
    EXPECT_EQ(window.helps, 1);
    EXPECT_TRUE(std::none_of(window.keys.begin(), window.keys.end(), [](const auto& k) { return !k.down; }));
    EXPECT_EQ(edit->text(), u"abcdx"_s);
}

TEST_F(NativeEditTest, StylesShapeWhatCanBeTyped) {
    struct Case {
        unsigned style;
        QString typed;
        QString text;
    };
    const Case cases[] = {
        {plat::kEditNumber, u"1a-2"_s, u"12"_s},
        {plat::kEditUpperCase, u"ab1"_s, u"AB1"_s},
        {plat::kEditMultiLine | plat::kEditAutoHScroll, u"x\ry"_s, u"one\r\ntwox\r\ny"_s},
    };
    for (const Case& c : cases) {
        auto edit = Make(c.style);
        edit->setText((c.style & plat::kEditMultiLine) ? u"one\r\ntwo"_s : QString());
        edit->setCaretToEnd();
        for (const QChar ch : c.typed) {
            if (ch == u'\r')
                QTest::keyClick(edit->widget(), Qt::Key_Return);
            else
                QTest::keyClick(edit->widget(), ch.toLatin1());
        }
        EXPECT_EQ(edit->text(), c.text) << c.style;
    }
}

// Qt's own edits stop at 32,767 characters; the field holds what its limit says, pasted or set.
TEST_F(NativeEditTest, TheLimitHoldsForPastedTextInBothKinds) {
    const QString big(40000, u'k');
    for (const unsigned style : {0u, unsigned(plat::kEditMultiLine)}) {
        auto edit = Make(style);
        edit->setLimitText(50000);
        plat::setClipboardText(big);
        QTest::keyClick(edit->widget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text().size(), big.size()) << style;
        QTest::keyClick(edit->widget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text().size(), 50000) << style;
        EXPECT_EQ(edit->changes, 2);
    }
}

// Placed where a scrolled holder shows only part of it, the field shows that part; out of sight it hides,
// and it takes the focus back when it shows again.
TEST_F(NativeEditTest, PlacementCutsHidesAndGivesTheFocusBack) {
    auto edit = Make(0);
    const Rect at = Rect::fromXywh(20, 40, 100, 20);
    edit->place(at, Rect{0, 50, 400, 300});
    EXPECT_TRUE(edit->isShown());
    EXPECT_EQ(edit->geometry(), at);
    EXPECT_EQ(edit->widget()->mask().boundingRect(), QRect(0, 10, 100, 10));
    edit->place(at, Rect{0, 100, 400, 300});
    EXPECT_FALSE(edit->isShown());
    EXPECT_FALSE(edit->hasFocus());
    edit->place(at, Rect{0, 0, 400, 300});
    EXPECT_TRUE(edit->isShown());
    EXPECT_TRUE(edit->widget()->mask().isEmpty());
    EXPECT_TRUE(edit->hasFocus());
}

// The owner may destroy the field inside its own key handler; the window then has the focus.
TEST_F(NativeEditTest, DestroyedInsideItsOwnHandler) {
    auto edit = Make(0);
    QWidget* widget = edit->widget();
    edit->onKey = [&](RecordingEdit&) { edit.reset(); };
    QTest::keyClick(widget, Qt::Key_Escape);
    EXPECT_EQ(edit, nullptr);
    EXPECT_EQ(QApplication::focusWidget(), window.widget());
    QTest::keyClicks(window.widget(), u"z"_s);
    EXPECT_EQ(window.chars, u"z"_s);
}
