#include "platform/clipboard.h"
#include "platform/font.h"
#include "platform/native_edit.h"
#include "tests/platform/recording_window.h"

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

  protected:
    void onChange() override { ++changes; }
};

class NativeEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_window.ShowAt(Rect::fromXywh(100, 100, 400, 300)));
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.widget()));
    }
    std::unique_ptr<RecordingEdit> Make(unsigned style, Rect rect = Rect::fromXywh(10, 10, 200, 24)) {
        auto edit = std::make_unique<RecordingEdit>(m_window, rect, style, m_font);
        edit->setFocus();
        return edit;
    }

    RecordingWindow m_window;
    plat::Font m_font;
};

} // namespace

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
        for (const QChar ch : c.typed)
            if (ch == u'\r')
                QTest::keyClick(edit->widget(), Qt::Key_Return);
            else
                QTest::keyClick(edit->widget(), ch.toLatin1());
        EXPECT_EQ(edit->text(), c.text) << c.style;
    }
}

// Qt's own edits stop at 32,767 characters; the field holds what its limit says, pasted or set.
TEST_F(NativeEditTest, TheLimitHoldsForPastedTextInBothKinds) {
    const QString big(40000, u'k');
    for (const unsigned style : {0u, unsigned(plat::kEditMultiLine)}) {
        auto edit = Make(style);
        edit->setLimitText(50000);
        plat::SetClipboardText(big);
        QTest::keyClick(edit->widget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text().size(), big.size()) << style;
        QTest::keyClick(edit->widget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text().size(), 50000) << style;
        EXPECT_EQ(edit->changes, 2);
    }
}
