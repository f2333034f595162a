#include "platform/clipboard.h"
#include "platform/native_edit.h"
#include "skin/scroll_geometry.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_edit.h"
#include "tests/skin/live_dialog.h"
#include "tests/skin/modal_script.h"
#include "tests/skin/test_printers.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::LiveDialog;

namespace {

// A framed dialog with a one-line field, a multi-line field, a numeric field and, in a scrolling panel, a
// field that scrolls with it.
class EditTest : public ::testing::Test {
  protected:
    EditTest() {
        dlg.m_width = 460;
        dlg.m_height = 360;
        dlg.build = [this](skintest::TestDialog& d) {
            name.Create(&d.m_rootHolder, d.m_nextElementId++, u"key"_s, false, false, u"name"_s, QString());
            name.SetPosition(20, 50, 200, 33, 0);
            notes.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), true, false, u"notes"_s, QString());
            notes.SetPosition(20, 100, 200, 80, 0);
            count.Create(&d.m_rootHolder, d.m_nextElementId++, u"9"_s, false, true, u"count"_s, QString());
            count.SetPosition(240, 50, 90, 25, 0);
            panel.Create(&d.m_rootHolder, d.m_nextElementId++);
            panel.SetPosition(240, 100, 200, 100, 0);
            inner.Create(&panel, d.m_nextElementId++, u"inner"_s, false, false, QString(), QString());
            inner.SetPosition(10, 40, 150, 25, 0);
            panel.m_contentHeight = 400;
        };
    }
    void SetUp() override { ASSERT_TRUE(dlg.Show()); }
    void Drop(const CSkinElement& e, const QString& text) {
        QMimeData data;
        data.setText(text);
        const plat::Point c = skintest::Centre(e);
        QDragEnterEvent enter(QPoint(c.x, c.y), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dlg.widget(), &enter);
        QDropEvent drop(QPointF(c.x, c.y), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dlg.widget(), &drop);
    }
    QStringList TakeCommands() {
        QStringList seen = dlg.commands;
        dlg.commands.clear();
        dlg.params.clear();
        return seen;
    }

    LiveDialog dlg;
    CSkinEdit name;
    CSkinEdit notes;
    CSkinEdit count;
    CSkinDlgHolder panel{false, false};
    CSkinEdit inner;
};

} // namespace

// The text set as editing begins is not typing; each typed change is. Esc brings back the text from before
// and ends editing, whose end the plain command reports; Enter ends editing and then asks for OK.
TEST_F(EditTest, TypingEscapeAndEnter) {
    dlg.ClickOn(name, 60);
    ASSERT_NE(name.Native(), nullptr);
    EXPECT_TRUE(name.Native()->hasFocus());
    EXPECT_EQ(dlg.m_pFocus, &name);
    EXPECT_TRUE(dlg.commands.isEmpty());
    dlg.Type(u"ab"_s);
    EXPECT_EQ(name.GetText(), u"keyab"_s);
    EXPECT_EQ(TakeCommands(), (QStringList{u"name_typing"_s, u"name_typing"_s}));
    dlg.Press(Qt::Key_Escape);
    EXPECT_EQ(name.Native(), nullptr);
    EXPECT_EQ(name.GetText(), u"key"_s);
    EXPECT_EQ(dlg.m_pFocus, nullptr);
    EXPECT_EQ(TakeCommands(), (QStringList{u"name"_s}));
    EXPECT_EQ(dlg.Result(), 0);

    dlg.ClickOn(name, 60);
    dlg.Type(u"s"_s);
    dlg.Press(Qt::Key_Return);
    EXPECT_EQ(name.Native(), nullptr);
    EXPECT_EQ(name.GetText(), u"keys"_s);
    EXPECT_EQ(TakeCommands(), (QStringList{u"name_typing"_s, u"name"_s, u"Default_ok"_s}));
    EXPECT_EQ(dlg.Result(), skin::kResultOk);
}

// A text longer than typing may make (a keyword read from a file) comes back whole after a click in and out.
TEST_F(EditTest, ALongTextSurvivesEditing) {
    const QString longText = QString(CSkinEdit::kTextLimit + 10, u'w');
    name.SetText(longText);
    dlg.ClickOn(name, 60);
    ASSERT_NE(name.Native(), nullptr);
    dlg.ClickOn(notes, 10);
    EXPECT_EQ(name.Native(), nullptr);
    EXPECT_EQ(name.GetText(), longText);
}

// Enter makes a new line in a multi-line field, whose text comes back with CR LF; Tab inside the native child
// moves the skin's focus (past the numeric field, which Tab does not reach), not Qt's.
TEST_F(EditTest, MultiLineFieldAndTabInsideTheChild) {
    dlg.ClickOn(notes);
    dlg.Type(u"a"_s);
    dlg.Press(Qt::Key_Return);
    dlg.Type(u"b"_s);
    EXPECT_EQ(notes.GetText(), u"a\r\nb"_s);
    EXPECT_EQ(dlg.Result(), 0);
    dlg.Press(Qt::Key_Tab);
    EXPECT_EQ(notes.Native(), nullptr);
    EXPECT_EQ(notes.GetText(), u"a\r\nb"_s);
    EXPECT_EQ(dlg.m_pFocus, &inner);
    ASSERT_NE(inner.Native(), nullptr);
    EXPECT_TRUE(inner.Native()->hasFocus());
    dlg.Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(dlg.m_pFocus, &notes);
    EXPECT_EQ(TakeCommands(),
              QStringList({u"notes_typing"_s, u"notes_typing"_s, u"notes_typing"_s, u"notes"_s}));
}

// Released Up and Down step a numeric field and saturate at the ends of int; a text that is no number counts
// as 0. Each step is typing.
TEST_F(EditTest, NumericUpAndDown) {
    struct Case {
        QString start;
        Qt::Key key;
        QString after;
    };
    const Case cases[] = {
        {u"9"_s, Qt::Key_Up, u"10"_s},
        {u"9"_s, Qt::Key_Down, u"8"_s},
        {u"2147483647"_s, Qt::Key_Up, u"2147483647"_s},
        {u"-2147483648"_s, Qt::Key_Down, u"-2147483648"_s},
        {u"99999999999"_s, Qt::Key_Down, u"2147483646"_s},
        {u"abc"_s, Qt::Key_Up, u"1"_s},
    };
    for (const Case& c : cases) {
        count.SetText(c.start);
        dlg.ClickOn(count);
        dlg.Press(c.key);
        EXPECT_EQ(count.GetText(), c.after) << c.start.toStdString();
        dlg.Press(Qt::Key_Escape);
        EXPECT_EQ(count.GetText(), c.start);
        EXPECT_EQ(TakeCommands(), (QStringList{u"count_typing"_s, u"count"_s}));
    }
}

// Text dropped onto a field joins its text after a space (one line) or a line break (several lines), also
// while it is being edited; an empty drop changes nothing; a numeric field takes no drop.
TEST_F(EditTest, PasteByDrop) {
    notes.SetText(u"x"_s);
    Drop(name, u"abc"_s);
    Drop(notes, u"abc"_s);
    Drop(name, QString());
    Drop(count, u"7"_s);
    EXPECT_EQ(name.GetText(), u"key abc"_s);
    EXPECT_EQ(notes.GetText(), u"x\r\nabc"_s);
    EXPECT_EQ(count.GetText(), u"9"_s);
    EXPECT_EQ(TakeCommands(), (QStringList{u"name_onPaste"_s, u"notes_onPaste"_s}));
    dlg.ClickOn(name, 80);
    dlg.Type(u"d"_s);
    Drop(name, u"e"_s);
    EXPECT_EQ(name.Native()->text(), u"key abcd e"_s);
    dlg.Type(u"f"_s);
    EXPECT_EQ(name.GetText(), u"key abcd ef"_s);
    // Pasted inside, a text longer than a plain Qt field takes (32,767 characters) stays whole.
    plat::SetClipboardText(QString(40000, u'k'));
    dlg.Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name.GetText().size(), 11 + 40000);
}

// The native child stands over its field wherever the field shows: it scrolls with its panel, is cut to
// what the panel shows, hides with the panel or the field and comes back, focus and text kept.
TEST_F(EditTest, TheNativeChildFollowsItsField) {
    dlg.ClickOn(inner);
    CSkin_WinEdit* child = inner.Native();
    ASSERT_NE(child, nullptr);
    const plat::Rect before = child->geometry();
    const plat::Point at = inner.GetDialogPos();
    EXPECT_EQ(before, plat::Rect::fromXywh(at.x + 4, at.y + 4, 142, 17));
    dlg.Type(u"z"_s);
    panel.m_scrollY = 48;
    dlg.RedrawNow();
    EXPECT_EQ(child->geometry(), before.translated(0, -48));
    EXPECT_FALSE(child->widget()->mask().isEmpty()) << "the panel shows only part of it";
    panel.SetVisible(false);
    dlg.RedrawNow();
    EXPECT_FALSE(child->isShown());
    panel.SetVisible(true);
    panel.m_scrollY = 0;
    dlg.RedrawNow();
    EXPECT_TRUE(child->isShown());
    EXPECT_TRUE(child->hasFocus());
    EXPECT_EQ(child->geometry(), before);
    inner.SetVisible(false);
    dlg.RedrawNow();
    EXPECT_FALSE(child->isShown());
    inner.SetVisible(true);
    dlg.RedrawNow();
    dlg.Type(u"y"_s);
    EXPECT_EQ(inner.GetText(), u"innerzy"_s);
}

// A multi-line field's scroll bar follows the lines the child scrolled to, and the wheel over the child
// scrolls the field, which scrolls the child.
TEST_F(EditTest, MultiLineScrollingStaysInStep) {
    QString lines;
    for (int i = 0; i < 20; ++i)
        lines += u"line %1\r\n"_s.arg(i);
    notes.SetText(lines);
    dlg.ClickOn(notes);
    CSkin_WinEdit* child = notes.Native();
    ASSERT_NE(child, nullptr);
    QTest::keyClick(dlg.Handle(), Qt::Key_End, Qt::ControlModifier);
    LiveDialog::Settle();
    dlg.RedrawNow();
    EXPECT_GT(child->firstVisibleLine(), 0);
    EXPECT_EQ(notes.m_scrollY, child->firstVisibleLine() * notes.m_lineHeight);
    EXPECT_EQ(child->geometry().right, notes.GetDialogPos().x + notes.m_width - 4 - skin::kScrollbarWidth)
        << "room for the scroll bar";
    const plat::Rect r = child->geometry();
    QTest::mouseMove(dlg.Handle(), QPoint(r.left + 5, r.top + 5));
    QWidget* viewport = static_cast<QAbstractScrollArea*>(child->widget())->viewport();
    for (int i = 0; i < 20; ++i) {
        QWheelEvent wheel(QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }
    dlg.RedrawNow();
    EXPECT_EQ(notes.m_scrollY, 0);
    EXPECT_EQ(child->firstVisibleLine(), 0);
}

// Taken out of its page while being edited, a field ends its editing first: the dialog hears the plain
// command with the typed text in place, and the field keeps that text. Drawn, a password field shows a dot
// for each character and never the text.
TEST_F(EditTest, DetachEndsEditingAndPasswordsShowDots) {
    dlg.ClickOn(name, 60);
    dlg.Type(u"x"_s);
    TakeCommands();
    QString heard;
    dlg.handle = [&](const QString& command, int) {
        if (command == u"name"_s)
            heard = name.GetText();
        return false;
    };
    name.Detach();
    EXPECT_EQ(name.Native(), nullptr);
    EXPECT_EQ(name.GetText(), u"keyx"_s);
    EXPECT_EQ(TakeCommands(), QStringList{u"name"_s});
    EXPECT_EQ(heard, u"keyx"_s);
    EXPECT_EQ(dlg.m_pFocus, nullptr);

    CSkinEdit secret;
    CSkinEdit dots;
    secret.Create(&dlg.m_rootHolder, 90, u"abc"_s, false, false, QString(), QString(), plat::kEditPassword);
    dots.Create(&dlg.m_rootHolder, 91, u"\u25CF\u25CF\u25CF"_s, false, false, QString(), QString());
    plat::DeviceContext a(120, 33);
    plat::DeviceContext b(120, 33);
    for (CSkinEdit* e : {&secret, &dots})
        e->SetPosition(0, 0, 120, 33, 0);
    secret.Draw(a, 0, 0, true);
    dots.Draw(b, 0, 0, true);
    EXPECT_EQ(a.image(), b.image());
    EXPECT_EQ(secret.GetText(), u"abc"_s);
}

// Once the dialog's window has ended nothing may reach it: a field still being edited then goes without a
// word and keeps what was typed.
TEST_F(EditTest, DetachOnceTheWindowHasEndedSendsNothing) {
    dlg.ClickOn(name, 60);
    dlg.Type(u"c"_s);
    TakeCommands();
    dlg.onDestroy();
    EXPECT_TRUE(dlg.IsTornDown());
    ASSERT_NE(name.Native(), nullptr);
    name.Detach();
    EXPECT_EQ(name.Native(), nullptr);
    EXPECT_EQ(name.GetText(), u"keyc"_s);
    EXPECT_TRUE(dlg.commands.isEmpty()) << dlg.commands.join(u',').toStdString();
}

// A dialog whose window goes while a field is being edited hears the end of editing before it goes, as it
// would for any loss of the focus.
TEST(EditDetach, TheEndOfARunEndsEditingFirst) {
    QStringList heard;
    skintest::TestDialog page;
    CSkinEdit field;
    page.m_width = 300;
    page.m_height = 150;
    page.build = [&field](skintest::TestDialog& d) {
        field.Create(&d.m_rootHolder, d.m_nextElementId++, u"ab"_s, false, false, u"field"_s, QString());
        field.SetPosition(20, 50, 200, 25, 0);
    };
    skintest::ModalScript hook([&](CSkinDlg_Base& w) {
        QWindow* handle = w.widget()->windowHandle();
        ASSERT_TRUE(QTest::qWaitForWindowActive(handle));
        const plat::Point at = skintest::Centre(field);
        QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(at.x, at.y));
        QTest::keyClick(handle, 'c');
        page.handle = [&heard, &field](const QString& command, int) {
            heard.append(command + u'=' + field.GetText());
            return false;
        };
        page.EndSkinDialog(skin::kResultOk);
    });
    EXPECT_EQ(page.DoModal(), skin::kResultOk);
    EXPECT_EQ(field.Native(), nullptr);
    EXPECT_EQ(heard, QStringList{u"field=abc"_s});
}

// The selection of a field being edited counts a line break as two characters, as the text does: keys
// select, the program selects, replaces (reported as typing) and reads back; positions inside a line break
// stand before it. A field not being edited has no selection to work on.
TEST_F(EditTest, SelectionReadSetAndReplaced) {
    int start = -1;
    int end = -1;
    EXPECT_FALSE(notes.GetSel(start, end));
    EXPECT_FALSE(notes.ReplaceSel(u"x"_s));
    EXPECT_EQ(notes.GetText(), QString());
    dlg.ClickOn(notes);
    dlg.Type(u"ab"_s);
    dlg.Press(Qt::Key_Return);
    dlg.Type(u"cd"_s);
    ASSERT_TRUE(notes.GetSel(start, end));
    EXPECT_EQ(std::pair(start, end), std::pair(6, 6));
    dlg.Press(Qt::Key_Left, Qt::ShiftModifier);
    dlg.Press(Qt::Key_Left, Qt::ShiftModifier);
    dlg.Press(Qt::Key_Left, Qt::ShiftModifier);
    notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(2, 6)) << "the line break is one step for the keys";
    TakeCommands();
    ASSERT_TRUE(notes.ReplaceSel(u"X\r\nY"_s));
    EXPECT_EQ(notes.GetText(), u"abX\r\nY"_s);
    notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(6, 6));
    EXPECT_EQ(TakeCommands(), QStringList{u"notes_typing"_s});

    notes.SetSel(0, -1);
    notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 6));
    notes.SetSel(6, 5);
    notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(5, 6));
    dlg.Type(u"z"_s);
    EXPECT_EQ(notes.GetText(), u"abX\r\nz"_s) << "typing replaces what the program selected";
    notes.SetSel(4, 4);
    notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(3, 3));
    notes.SetSel(1, 99);
    notes.SetSel(-1, 0);
    notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(6, 6)) << "-1 only clears the selection";

    dlg.ClickOn(name, 60);
    name.SetSel(1, 3);
    dlg.Type(u"Z"_s);
    EXPECT_EQ(name.GetText(), u"kZ"_s);
    name.SetSel(0, 1);
    name.ReplaceSel(u"a\r\nb"_s);
    EXPECT_EQ(name.GetText(), u"a bZ"_s) << "a line takes no line break";
    name.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(3, 3));
}
