#include "platform/native_edit.h"
#include "skin/input_dlg.h"
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

const QString kInvalid =
    u"Invalid characters found in your domain name. Valid characters include a-z, 0-9, '-' and '.'."_s;

// Runs dlg driven by act once shown; every message box it opens is answered with Enter, its text noted.
int RunInput(CInputDlg& dlg, const std::function<void(CInputDlg&)>& act, QStringList* messages = nullptr) {
    skintest::ModalScript hook([&](CSkinDlg_Base& w) {
        if (auto* box = dynamic_cast<CMessageBoxDlg*>(&w)) {
            EXPECT_EQ(box->m_type, skin::kMessageOk | skin::kMessageExclamation);
            messages->append(box->m_text);
            QTest::keyClick(box->widget(), Qt::Key_Return);
        } else {
            act(dynamic_cast<CInputDlg&>(w));
        }
    });
    return dlg.DoModal();
}

// Types text into the field in place of what it holds (any character, as an input method delivers it) and
// presses OK.
void Submit(CInputDlg& dlg, const QString& text) {
    if (!dlg.m_edit.Native())
        skintest::ClickOn(dlg, dlg.m_edit);
    QWidget* field = dlg.m_edit.Native()->widget();
    dlg.m_edit.Native()->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text)
        if (c == u'\n')
            QTest::keyClick(field, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, QString(c), {});
    skintest::ClickOn(dlg, dlg.m_ok);
}

} // namespace

// Each refused name shows why and leaves the dialog open; the accepted one comes back trimmed, in the case
// and with the prefixes it was typed with.
TEST(InputDialog, DomainNamesAreCheckedWithoutCaseOrPrefix) {
    TestDialog parent;
    parent.Open();
    CInputDlg dlg(&parent, true, false);
    QStringList messages;
    const auto act = [](CInputDlg& d) {
        for (const QString& refused :
             {u"example-1.com/path"_s, u"exa mple.com"_s, u"example"_s, u"a_b.com"_s, u"   "_s}) {
            Submit(d, refused);
            EXPECT_EQ(d.Result(), 0) << refused.toStdString();
        }
        Submit(d, u"  HTTPS://WWW.Example-1.com  "_s);
    };
    EXPECT_EQ(RunInput(dlg, act, &messages), skin::kResultOk);
    EXPECT_EQ(dlg.m_text, u"HTTPS://WWW.Example-1.com"_s);
    EXPECT_EQ(messages, (QStringList{u"Only domain names are allowed (eg. example.com)."_s, kInvalid,
                                     u"Your domain name does not have an extension"_s, kInvalid,
                                     u"Please enter the domain name you want to search for."_s}));
}

// A separator stands for each line break: the initial text shows one entry per line and the accepted lines
// come back joined by it. Blanks only are refused; domains may be written in any alphabet; a drop list hands
// back its text and index; the window manager's close cancels through the dialog.
TEST(InputDialog, MultiLineEntriesListsAndClosing) {
    TestDialog parent;
    parent.Open();
    CInputDlg keywords(&parent, false, true, u"red,green"_s, u","_s);
    QStringList messages;
    QString shown;
    const auto act = [&](CInputDlg& d) {
        shown = d.m_edit.GetText();
        Submit(d, u" \n  "_s);
        Submit(d, u"red\ngreen\nblue\n"_s);
    };
    EXPECT_EQ(RunInput(keywords, act, &messages), skin::kResultOk);
    EXPECT_EQ(shown, u"red\r\ngreen"_s);
    EXPECT_EQ(keywords.m_text, u"red,green,blue"_s);
    EXPECT_EQ(messages, (QStringList{u"Please enter the keyword(s) you want to query,"_s}));

    // Each line is trimmed: a blank after a name, as a paste often leaves, does not refuse it.
    CInputDlg domains(&parent, true, true);
    const auto typeDomains = [](CInputDlg& d) {
        Submit(d, u"www.example.com \n  пример.рф  "_s);
        if (d.Result() == 0)
            d.OnCommand(u"on_cancel"_s, 0);
    };
    QStringList refusals;
    EXPECT_EQ(RunInput(domains, typeDomains, &refusals), skin::kResultOk);
    EXPECT_EQ(domains.m_text, u"www.example.com\r\nпример.рф"_s);
    EXPECT_TRUE(refusals.isEmpty()) << refusals.join(u'\n').toStdString();

    CInputDlg list(&parent, false, false);
    list.m_mode = CInputDlg::kModeList;
    list.m_items = {u"alpha"_s, u"beta"_s};
    const auto pick = [](CInputDlg& d) {
        d.m_dropList.SetCurSel(1, true);
        skintest::ClickOn(d, d.m_ok);
    };
    EXPECT_EQ(RunInput(list, pick), skin::kResultOk);
    EXPECT_EQ(list.m_text, u"beta"_s);
    EXPECT_EQ(list.m_chosen, (std::vector<int>{1}));

    CInputDlg closed(&parent, false, false, u"kept"_s);
    EXPECT_EQ(RunInput(closed, [](CInputDlg& d) { d.widget()->close(); }), skin::kResultCancel);
    EXPECT_EQ(closed.m_text, u"kept"_s);
}
