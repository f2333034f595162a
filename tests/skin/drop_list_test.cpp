#include "skin/skin_button.h"
#include "skin/skin_drop_list.h"
#include "skin/skin_win_edit.h"
#include "skin/skin_win_list.h"
#include "tests/skin/live_dialog.h"
#include "tests/support/test_clock.h"
#include "tests/support/test_printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::LiveDialog;

namespace {

// A dialog with a list of twelve items (eight lines show in its popup), an editable list and a button.
class DropListTest : public ::testing::Test {
  protected:
    DropListTest() {
        m_dlg.m_width = 420;
        m_dlg.m_height = 320;
        m_dlg.build = [this](skintest::TestDialog& d) {
            m_lang.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), false, u"lang"_s);
            m_lang.SetPosition(20, 50, 200, 25, 0);
            for (int i = 0; i < 12; ++i)
                m_lang.AddItem(u"Item %1"_s.arg(i), 100 + i);
            m_kw.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), true, u"kw"_s);
            m_kw.SetPosition(20, 100, 200, 25, 0);
            for (const QString& item : {u"alpha"_s, u"beta"_s, u"gamma"_s})
                m_kw.AddItem(item, 0);
            m_ok.Create(&d.m_rootHolder, d.m_nextElementId++, u"OK"_s, u"on_ok"_s);
            m_ok.SetPosition(300, 260, 90, 29, 0);
        };
    }
    void SetUp() override { ASSERT_TRUE(m_dlg.Show()); }
    QWindow* PopupHandle() { return m_lang.Popup()->widget()->windowHandle(); }
    // A line of the popup, in its window: y + 4 px down into the line's 15 px.
    static QPoint Line(int row, int y = 1) { return QPoint(20, 4 + 15 * row + y); }
    void Take(QStringList* commands, std::vector<int>* params) {
        *commands = m_dlg.commands;
        *params = m_dlg.params;
        m_dlg.commands.clear();
        m_dlg.params.clear();
    }

    twtest::TestClock m_clock{{.monotonicMs = 1'000'000}};
    LiveDialog m_dlg;
    CSkinDropList m_lang;
    CSkinDropList m_kw;
    CSkinButton m_ok;
};

} // namespace

TEST_F(DropListTest, IndexesOutsideTheItemsChangeNothingAndReadAsNothing) {
    CSkinDropList list;
    list.Create(&m_dlg.m_rootHolder, 90, QString(), false, u"l"_s);
    for (const QString& item : {u"Alpha"_s, u"alphabet"_s, u"Beta"_s, u"\u00C4b"_s})
        list.AddItem(item, list.GetCount() + 1);
    for (const int bad : {-1, 4, 1000}) {
        EXPECT_EQ(list.GetItemText(bad), QString());
        EXPECT_EQ(list.GetItemData(bad), 0);
        list.SetItemText(bad, u"x"_s);
        list.SetCurSel(bad, false);
    }
    EXPECT_EQ(list.GetItemData(2), 3);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_TRUE(m_dlg.commands.isEmpty());
    struct Find {
        QString text;
        int exact;
        int prefix;
    };
    const Find finds[] = {
        {u"Alpha"_s, 0, 0},     {u"ALPHA"_s, -1, 0},  {u"alphab"_s, -1, 1},     {u"beta"_s, -1, 2},
        {u"\u00E4b"_s, -1, -1}, {u"\u00C4b"_s, 3, 3}, {u"alphabets"_s, -1, -1}, {QString(), -1, 0},
    };
    for (const Find& f : finds) {
        EXPECT_EQ(list.FindItem(f.text), f.exact) << f.text.toStdString();
        EXPECT_EQ(list.FindItemPrefix(f.text), f.prefix) << f.text.toStdString();
    }
    list.SetCurSel(1, true);
    list.InsertItem(u"Zero"_s, 0, 0);
    list.InsertItem(u"Last"_s, -5, 0);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.GetItemText(list.GetCurSel()), list.GetText());
    EXPECT_EQ(list.GetItemText(5), u"Last"_s);
    EXPECT_TRUE(m_dlg.commands.isEmpty());
}

// A click opens the popup with the selection scrolled to its top; the line under the pointer lights up and a
// click picks it, both by (y - 4) / 15 from the top of the lines; the popup closes and the choice is sent.
TEST_F(DropListTest, OpenHoverAndPickByMouse) {
    m_lang.SetCurSel(10, true);
    m_dlg.ClickOn(m_lang);
    ASSERT_TRUE(m_lang.IsPopupOpen());
    ASSERT_TRUE(m_lang.Popup()->isVisible());
    EXPECT_EQ(m_lang.Popup()->widget()->windowFlags() & Qt::WindowType_Mask, Qt::Popup);
    EXPECT_EQ(m_lang.Popup()->m_dummy.m_scrollY, 4 * 15) << "the last eight items show";
    EXPECT_EQ(m_lang.Popup()->m_highlight, 10);
    QTest::mouseMove(PopupHandle(), Line(1, 13));
    EXPECT_EQ(m_lang.Popup()->m_highlight, 5);
    QTest::mouseClick(PopupHandle(), Qt::LeftButton, {}, Line(2, 12));
    EXPECT_FALSE(m_lang.IsPopupOpen());
    EXPECT_FALSE(m_lang.Popup()->isVisible());
    EXPECT_EQ(m_lang.GetCurSel(), 6);
    EXPECT_EQ(m_lang.GetText(), u"Item 6"_s);
    EXPECT_EQ(m_dlg.commands, QStringList{u"lang"_s});
    EXPECT_EQ(m_dlg.params, std::vector<int>{6});
}

// The press that closes the popup from outside does not open it again, nor does any press within the next
// 10 ms; a press elsewhere closes it too. Nothing is chosen.
TEST_F(DropListTest, ClosingClicksDoNotReopen) {
    m_dlg.ClickOn(m_lang);
    ASSERT_TRUE(m_lang.IsPopupOpen());
    m_dlg.ClickOn(m_lang, 80);
    EXPECT_FALSE(m_lang.IsPopupOpen());
    m_dlg.ClickOn(m_lang, 80);
    EXPECT_FALSE(m_lang.IsPopupOpen()) << "within the click guard";
    m_clock.AdvanceMs(CSkinDropList::kClickGuardMs + 1);
    m_dlg.ClickOn(m_lang, 80);
    EXPECT_TRUE(m_lang.IsPopupOpen());
    m_dlg.ClickAt({300, 200});
    EXPECT_FALSE(m_lang.IsPopupOpen());
    EXPECT_EQ(m_lang.GetCurSel(), -1);
    EXPECT_TRUE(m_dlg.commands.isEmpty());
}

// Tab reaches the list and Space opens it, sending nothing. In the open popup Up and Down choose the next
// line, sending each choice (Up on the first line too), and Enter closes it with the lit line chosen. A
// dialog opened meanwhile closes the popup.
TEST_F(DropListTest, KeysInThePopup) {
    m_lang.SetCurSel(1, true);
    m_dlg.Press(Qt::Key_Tab);
    m_dlg.Press(Qt::Key_Space);
    ASSERT_TRUE(m_lang.IsPopupOpen());
    EXPECT_TRUE(m_dlg.commands.isEmpty());
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Return})
        m_dlg.Press(key);
    EXPECT_FALSE(m_lang.IsPopupOpen());
    EXPECT_EQ(m_lang.GetText(), u"Item 1"_s);
    EXPECT_EQ(m_dlg.commands, QStringList(4, u"lang"_s));
    EXPECT_EQ(m_dlg.params, (std::vector<int>{0, 0, 1, 1}));
    m_clock.AdvanceMs(CSkinDropList::kClickGuardMs + 1);
    m_dlg.Press(Qt::Key_Space);
    ASSERT_TRUE(m_lang.IsPopupOpen());
    skintest::TestDialog question(&m_dlg);
    EXPECT_FALSE(m_lang.IsPopupOpen());
}

// A line the pointer passed over is not chosen: after Esc, and after Tab takes the focus away, the list
// holds what the last choice left, and its popup is gone.
TEST_F(DropListTest, EscapeThenTabKeepsTheLastSelection) {
    m_lang.SetCurSel(2, true);
    m_dlg.ClickOn(m_lang);
    QTest::mouseMove(PopupHandle(), Line(5));
    ASSERT_EQ(m_lang.Popup()->m_highlight, 7) << "from item 2 at the top";
    m_dlg.Press(Qt::Key_Escape);
    EXPECT_FALSE(m_lang.IsPopupOpen());
    m_dlg.Press(Qt::Key_Tab);
    EXPECT_EQ(m_dlg.m_pFocus, &m_kw);
    EXPECT_EQ(m_lang.Popup(), nullptr);
    EXPECT_EQ(m_lang.GetCurSel(), 2);
    EXPECT_EQ(m_lang.GetText(), u"Item 2"_s);
    EXPECT_TRUE(m_dlg.commands.isEmpty());
}

// An editable list edits in a native child: typing is reported with the selection, Up and Down in it choose
// silently and open the popup, Esc there leaves the typing where it was, and a changed text is reported when
// the focus goes. A click on the text does not open the popup; one on the arrow does.
TEST_F(DropListTest, EditableList) {
    m_kw.SetCurSel(0, true);
    m_dlg.ClickOn(m_kw, -60);
    ASSERT_NE(m_kw.Native(), nullptr);
    EXPECT_FALSE(m_kw.IsPopupOpen());
    m_dlg.Type(u"x"_s);
    EXPECT_EQ(m_kw.GetText(), u"alphax"_s);
    m_dlg.Press(Qt::Key_Down);
    EXPECT_TRUE(m_kw.IsPopupOpen());
    EXPECT_EQ(m_kw.GetCurSel(), 1);
    EXPECT_EQ(m_kw.GetText(), u"beta"_s);
    m_dlg.Press(Qt::Key_Escape);
    EXPECT_FALSE(m_kw.IsPopupOpen());
    EXPECT_TRUE(m_kw.Native()->hasFocus());
    m_dlg.Type(u"z"_s);
    EXPECT_EQ(m_kw.GetText(), u"z"_s) << "the chosen text was selected";
    m_dlg.Press(Qt::Key_Tab);
    EXPECT_EQ(m_kw.Native(), nullptr);
    EXPECT_EQ(m_kw.GetText(), u"z"_s);
    EXPECT_EQ(m_dlg.commands, (QStringList{u"kw_typing"_s, u"kw_typing"_s, u"kw_edit"_s}));
    EXPECT_EQ(m_dlg.params, (std::vector<int>{0, 1, 0}));
    m_clock.AdvanceMs(CSkinDropList::kClickGuardMs + 1);
    m_dlg.ClickOn(m_kw, 90);
    EXPECT_TRUE(m_kw.IsPopupOpen());
}
