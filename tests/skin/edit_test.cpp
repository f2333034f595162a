#include "platform/clipboard.h"
#include "platform/native_edit.h"
#include "skin/scroll_geometry.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_drop_list.h"
#include "skin/skin_edit.h"
#include "tests/skin/live_dialog.h"
#include "tests/support/modal_script.h"
#include "tests/support/test_printers.h"

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
        m_dlg.m_width = 460;
        m_dlg.m_height = 360;
        m_dlg.build = [this](skintest::TestDialog& d) {
            m_name.Create(&d.m_rootHolder, d.m_nextElementId++, u"key"_s, false, false, u"name"_s, QString());
            m_name.SetPosition(20, 50, 200, 33, 0);
            m_notes.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), true, false, u"notes"_s,
                           QString());
            m_notes.SetPosition(20, 100, 200, 80, 0);
            m_count.Create(&d.m_rootHolder, d.m_nextElementId++, u"9"_s, false, true, u"count"_s, QString());
            m_count.SetPosition(240, 50, 90, 25, 0);
            m_panel.Create(&d.m_rootHolder, d.m_nextElementId++);
            m_panel.SetPosition(240, 100, 200, 100, 0);
            m_inner.Create(&m_panel, d.m_nextElementId++, u"inner"_s, false, false, QString(), QString());
            m_inner.SetPosition(10, 40, 150, 25, 0);
            m_panel.m_contentHeight = 400;
        };
    }
    void SetUp() override { ASSERT_TRUE(m_dlg.Show()); }
    void Drop(const CSkinElement& e, const QString& text) {
        QMimeData data;
        data.setText(text);
        const plat::Point c = skintest::Centre(e);
        QDragEnterEvent enter(QPoint(c.x, c.y), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_dlg.widget(), &enter);
        QDropEvent drop(QPointF(c.x, c.y), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_dlg.widget(), &drop);
    }
    QStringList TakeCommands() {
        QStringList seen = m_dlg.commands;
        m_dlg.commands.clear();
        m_dlg.params.clear();
        return seen;
    }

    LiveDialog m_dlg;
    CSkinEdit m_name;
    CSkinEdit m_notes;
    CSkinEdit m_count;
    CSkinDlgHolder m_panel{false, false};
    CSkinEdit m_inner;
};

} // namespace

// The text set as editing begins is not typing; each typed change is. Esc brings back the text from before
// and ends editing, whose end the plain command reports; Enter ends editing and then asks for OK.
TEST_F(EditTest, TypingEscapeAndEnter) {
    m_dlg.ClickOn(m_name, 60);
    ASSERT_NE(m_name.Native(), nullptr);
    EXPECT_TRUE(m_name.Native()->hasFocus());
    EXPECT_EQ(m_dlg.m_pFocus, &m_name);
    EXPECT_TRUE(m_dlg.commands.isEmpty());
    m_dlg.Type(u"ab"_s);
    EXPECT_EQ(m_name.GetText(), u"keyab"_s);
    EXPECT_EQ(TakeCommands(), (QStringList{u"name_typing"_s, u"name_typing"_s}));
    m_dlg.Press(Qt::Key_Escape);
    EXPECT_EQ(m_name.Native(), nullptr);
    EXPECT_EQ(m_name.GetText(), u"key"_s);
    EXPECT_EQ(m_dlg.m_pFocus, nullptr);
    EXPECT_EQ(TakeCommands(), (QStringList{u"name"_s}));
    EXPECT_EQ(m_dlg.Result(), 0);

    m_dlg.ClickOn(m_name, 60);
    m_dlg.Type(u"s"_s);
    m_dlg.Press(Qt::Key_Return);
    EXPECT_EQ(m_name.Native(), nullptr);
    EXPECT_EQ(m_name.GetText(), u"keys"_s);
    EXPECT_EQ(TakeCommands(), (QStringList{u"name_typing"_s, u"name"_s, u"Default_ok"_s}));
    EXPECT_EQ(m_dlg.Result(), skin::kResultOk);
}

// A text longer than typing may make (a keyword read from a file) comes back whole after a click in and out.
TEST_F(EditTest, ALongTextSurvivesEditing) {
    const QString longText = QString(CSkinEdit::kTextLimit + 10, u'w');
    m_name.SetText(longText);
    m_dlg.ClickOn(m_name, 60);
    ASSERT_NE(m_name.Native(), nullptr);
    m_dlg.ClickOn(m_notes, 10);
    EXPECT_EQ(m_name.Native(), nullptr);
    EXPECT_EQ(m_name.GetText(), longText);
}

// Enter makes a new line in a multi-line field, whose text comes back with CR LF; Tab inside the native child
// moves the skin's focus (past the numeric field, which Tab does not reach), not Qt's.
TEST_F(EditTest, MultiLineFieldAndTabInsideTheChild) {
    m_dlg.ClickOn(m_notes);
    m_dlg.Type(u"a"_s);
    m_dlg.Press(Qt::Key_Return);
    m_dlg.Type(u"b"_s);
    EXPECT_EQ(m_notes.GetText(), u"a\r\nb"_s);
    EXPECT_EQ(m_dlg.Result(), 0);
    m_dlg.Press(Qt::Key_Tab);
    EXPECT_EQ(m_notes.Native(), nullptr);
    EXPECT_EQ(m_notes.GetText(), u"a\r\nb"_s);
    EXPECT_EQ(m_dlg.m_pFocus, &m_inner);
    ASSERT_NE(m_inner.Native(), nullptr);
    EXPECT_TRUE(m_inner.Native()->hasFocus());
    m_dlg.Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(m_dlg.m_pFocus, &m_notes);
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
        m_count.SetText(c.start);
        m_dlg.ClickOn(m_count);
        m_dlg.Press(c.key);
        EXPECT_EQ(m_count.GetText(), c.after) << c.start.toStdString();
        m_dlg.Press(Qt::Key_Escape);
        EXPECT_EQ(m_count.GetText(), c.start);
        EXPECT_EQ(TakeCommands(), (QStringList{u"count_typing"_s, u"count"_s}));
    }
}

// Text dropped onto a field joins its text after a space (one line) or a line break (several lines), also
// while it is being edited; an empty drop changes nothing; a numeric field takes no drop.
TEST_F(EditTest, PasteByDrop) {
    m_notes.SetText(u"x"_s);
    Drop(m_name, u"abc"_s);
    Drop(m_notes, u"abc"_s);
    Drop(m_name, QString());
    Drop(m_count, u"7"_s);
    EXPECT_EQ(m_name.GetText(), u"key abc"_s);
    EXPECT_EQ(m_notes.GetText(), u"x\r\nabc"_s);
    EXPECT_EQ(m_count.GetText(), u"9"_s);
    EXPECT_EQ(TakeCommands(), (QStringList{u"name_onPaste"_s, u"notes_onPaste"_s}));
    m_dlg.ClickOn(m_name, 80);
    m_dlg.Type(u"d"_s);
    Drop(m_name, u"e"_s);
    EXPECT_EQ(m_name.Native()->text(), u"key abcd e"_s);
    m_dlg.Type(u"f"_s);
    EXPECT_EQ(m_name.GetText(), u"key abcd ef"_s);
    // Pasted inside, a text longer than a plain Qt field takes (32,767 characters) stays whole.
    plat::SetClipboardText(QString(40000, u'k'));
    m_dlg.Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_name.GetText().size(), 11 + 40000);
}

// The native child stands over its field wherever the field shows: it scrolls with its panel, is cut to
// what the panel shows, hides with the panel or the field and comes back, focus and text kept.
TEST_F(EditTest, TheNativeChildFollowsItsField) {
    m_dlg.ClickOn(m_inner);
    CSkin_WinEdit* child = m_inner.Native();
    ASSERT_NE(child, nullptr);
    const plat::Rect before = child->geometry();
    const plat::Point at = m_inner.GetDialogPos();
    EXPECT_EQ(before, plat::Rect::fromXywh(at.x + 4, at.y + 4, 142, 17));
    m_dlg.Type(u"z"_s);
    m_panel.m_scrollY = 48;
    m_dlg.RedrawNow();
    EXPECT_EQ(child->geometry(), before.translated(0, -48));
    EXPECT_FALSE(child->widget()->mask().isEmpty()) << "the panel shows only part of it";
    m_panel.SetVisible(false);
    m_dlg.RedrawNow();
    EXPECT_FALSE(child->isShown());
    m_panel.SetVisible(true);
    m_panel.m_scrollY = 0;
    m_dlg.RedrawNow();
    EXPECT_TRUE(child->isShown());
    EXPECT_TRUE(child->hasFocus());
    EXPECT_EQ(child->geometry(), before);
    m_inner.SetVisible(false);
    m_dlg.RedrawNow();
    EXPECT_FALSE(child->isShown());
    m_inner.SetVisible(true);
    m_dlg.RedrawNow();
    m_dlg.Type(u"y"_s);
    EXPECT_EQ(m_inner.GetText(), u"innerzy"_s);
}

// A multi-line field's scroll bar follows the lines the child scrolled to, and the wheel over the child
// scrolls the field, which scrolls the child.
TEST_F(EditTest, MultiLineScrollingStaysInStep) {
    QString lines;
    for (int i = 0; i < 20; ++i)
        lines += u"line %1\r\n"_s.arg(i);
    m_notes.SetText(lines);
    m_dlg.ClickOn(m_notes);
    CSkin_WinEdit* child = m_notes.Native();
    ASSERT_NE(child, nullptr);
    QTest::keyClick(m_dlg.Handle(), Qt::Key_End, Qt::ControlModifier);
    LiveDialog::Settle();
    m_dlg.RedrawNow();
    EXPECT_GT(child->firstVisibleLine(), 0);
    EXPECT_EQ(m_notes.m_scrollY, child->firstVisibleLine() * m_notes.m_lineHeight);
    EXPECT_EQ(child->geometry().right, m_notes.GetDialogPos().x + m_notes.m_width - 4 - skin::kScrollbarWidth)
        << "room for the scroll bar";
    const plat::Rect r = child->geometry();
    QTest::mouseMove(m_dlg.Handle(), QPoint(r.left + 5, r.top + 5));
    QWidget* viewport = static_cast<QAbstractScrollArea*>(child->widget())->viewport();
    for (int i = 0; i < 20; ++i) {
        QWheelEvent wheel(QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }
    m_dlg.RedrawNow();
    EXPECT_EQ(m_notes.m_scrollY, 0);
    EXPECT_EQ(child->firstVisibleLine(), 0);
}

// Taken out of its page while being edited, a field ends its editing first: the dialog hears the plain
// command with the typed text in place, and the field keeps that text. Drawn, a password field shows a dot
// for each character and never the text.
TEST_F(EditTest, DetachEndsEditingAndPasswordsShowDots) {
    m_dlg.ClickOn(m_name, 60);
    m_dlg.Type(u"x"_s);
    TakeCommands();
    QString heard;
    m_dlg.handle = [&](const QString& command, int) {
        if (command == u"name"_s)
            heard = m_name.GetText();
        return false;
    };
    m_name.Detach();
    EXPECT_EQ(m_name.Native(), nullptr);
    EXPECT_EQ(m_name.GetText(), u"keyx"_s);
    EXPECT_EQ(TakeCommands(), QStringList{u"name"_s});
    EXPECT_EQ(heard, u"keyx"_s);
    EXPECT_EQ(m_dlg.m_pFocus, nullptr);

    CSkinEdit secret;
    CSkinEdit dots;
    secret.Create(&m_dlg.m_rootHolder, 90, u"abc"_s, false, false, QString(), QString(), plat::kEditPassword);
    dots.Create(&m_dlg.m_rootHolder, 91, u"\u25CF\u25CF\u25CF"_s, false, false, QString(), QString());
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
    m_dlg.ClickOn(m_name, 60);
    m_dlg.Type(u"c"_s);
    TakeCommands();
    m_dlg.onDestroy();
    EXPECT_TRUE(m_dlg.IsTornDown());
    ASSERT_NE(m_name.Native(), nullptr);
    m_name.Detach();
    EXPECT_EQ(m_name.Native(), nullptr);
    EXPECT_EQ(m_name.GetText(), u"keyc"_s);
    EXPECT_TRUE(m_dlg.commands.isEmpty()) << m_dlg.commands.join(u',').toStdString();
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

namespace {

// Controls that count how often they lose the focus.
class CountingEdit : public CSkinEdit {
  public:
    void OnKillFocus() override {
        ++kills;
        CSkinEdit::OnKillFocus();
    }
    int kills = 0;
};

class CountingDropList : public CSkinDropList {
  public:
    void OnKillFocus() override {
        ++kills;
        CSkinDropList::OnKillFocus();
    }
    int kills = 0;
};

} // namespace

// Taken away while it has the focus, an edit field and an editable drop list each lose the focus exactly
// once: the dialog hears the end of their editing with the typed text in place, and its window takes the
// keyboard. Taken away while the dialog is torn down, a list being edited sends nothing.
TEST(DetachFocused, FieldsLoseTheFocusOnceAndATornDownDialogHearsNothing) {
    LiveDialog dlg;
    CountingEdit field;
    CountingDropList list;
    CountingDropList late;
    dlg.m_width = 420;
    dlg.m_height = 300;
    dlg.build = [&](skintest::TestDialog& d) {
        field.Create(&d.m_rootHolder, d.m_nextElementId++, u"ab"_s, false, false, u"field"_s, QString());
        field.SetPosition(20, 50, 200, 33, 0);
        list.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), true, u"kw"_s);
        list.SetPosition(20, 120, 200, 25, 0);
        late.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), true, u"late"_s);
        late.SetPosition(20, 190, 200, 25, 0);
    };
    ASSERT_TRUE(dlg.Show());
    QStringList heard;
    dlg.handle = [&](const QString& command, int) {
        heard.append(command + u'=' + (command == u"field"_s ? field.GetText() : list.GetText()));
        return false;
    };

    dlg.ClickOn(field, 60);
    dlg.Type(u"c"_s);
    heard.clear();
    field.Detach();
    EXPECT_EQ(field.kills, 1);
    EXPECT_EQ(heard, QStringList{u"field=abc"_s});
    EXPECT_EQ(field.GetText(), u"abc"_s);

    dlg.ClickOn(list, -60);
    ASSERT_NE(list.Native(), nullptr);
    dlg.Type(u"kw"_s);
    heard.clear();
    list.kills = 0;
    list.Detach();
    EXPECT_EQ(list.kills, 1);
    EXPECT_EQ(heard, QStringList{u"kw_edit=kw"_s});
    EXPECT_EQ(list.Native(), nullptr);
    EXPECT_EQ(dlg.m_pFocus, nullptr);
    EXPECT_TRUE(dlg.widget()->hasFocus());

    dlg.ClickOn(late, -60);
    ASSERT_NE(late.Native(), nullptr);
    dlg.Type(u"x"_s);
    dlg.commands.clear();
    late.kills = 0;
    dlg.onDestroy();
    late.Detach();
    EXPECT_EQ(late.kills, 0);
    EXPECT_TRUE(dlg.commands.isEmpty()) << dlg.commands.join(u',').toStdString();
}

// The selection of a field being edited counts a line break as two characters, as the text does: keys
// select, the program selects, replaces (reported as typing) and reads back; positions inside a line break
// stand before it. A field not being edited has no selection to work on.
TEST_F(EditTest, SelectionReadSetAndReplaced) {
    int start = -1;
    int end = -1;
    EXPECT_FALSE(m_notes.GetSel(start, end));
    EXPECT_FALSE(m_notes.ReplaceSel(u"x"_s));
    EXPECT_EQ(m_notes.GetText(), QString());
    m_dlg.ClickOn(m_notes);
    m_dlg.Type(u"ab"_s);
    m_dlg.Press(Qt::Key_Return);
    m_dlg.Type(u"cd"_s);
    ASSERT_TRUE(m_notes.GetSel(start, end));
    EXPECT_EQ(std::pair(start, end), std::pair(6, 6));
    m_dlg.Press(Qt::Key_Left, Qt::ShiftModifier);
    m_dlg.Press(Qt::Key_Left, Qt::ShiftModifier);
    m_dlg.Press(Qt::Key_Left, Qt::ShiftModifier);
    m_notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(2, 6)) << "the line break is one step for the keys";
    TakeCommands();
    ASSERT_TRUE(m_notes.ReplaceSel(u"X\r\nY"_s));
    EXPECT_EQ(m_notes.GetText(), u"abX\r\nY"_s);
    m_notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(6, 6));
    EXPECT_EQ(TakeCommands(), QStringList{u"notes_typing"_s});

    m_notes.SetSel(0, -1);
    m_notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 6));
    m_notes.SetSel(6, 5);
    m_notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(5, 6));
    m_dlg.Type(u"z"_s);
    EXPECT_EQ(m_notes.GetText(), u"abX\r\nz"_s) << "typing replaces what the program selected";
    m_notes.SetSel(4, 4);
    m_notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(3, 3));
    m_notes.SetSel(1, 99);
    m_notes.SetSel(-1, 0);
    m_notes.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(6, 6)) << "-1 only clears the selection";

    m_dlg.ClickOn(m_name, 60);
    m_name.SetSel(1, 3);
    m_dlg.Type(u"Z"_s);
    EXPECT_EQ(m_name.GetText(), u"kZ"_s);
    m_name.SetSel(0, 1);
    m_name.ReplaceSel(u"a\r\nb"_s);
    EXPECT_EQ(m_name.GetText(), u"a bZ"_s) << "a line takes no line break";
    m_name.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(3, 3));
}
