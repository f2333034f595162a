#include "platform/native_edit.h"
#include "skin/input_dlg.h"
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

const QString kInvalid =
    u"Invalid characters found in your domain name. Valid characters include a-z, 0-9 and -."_s;

// Runs an input dialog over a test dialog. act drives it once shown; every message box it opens is answered
// with Enter after its text, caption and type are noted.
class InputRun {
  public:
    InputRun() { parent.Open(); }
    int Run(CInputDlg& dlg, const std::function<void(CInputDlg&)>& act) {
        ModalHook hook([&](plat::Window& w) {
            if (auto* box = dynamic_cast<CMessageBoxDlg*>(&w)) {
                messages.append(box->m_text);
                EXPECT_EQ(box->m_caption, u"Tarnwick 2.0"_s);
                EXPECT_EQ(box->m_type, skin::kMessageOk | skin::kMessageExclamation);
                QTest::keyClick(box->widget(), Qt::Key_Return);
            } else {
                act(dynamic_cast<CInputDlg&>(w));
            }
        });
        return dlg.DoModal();
    }
    // Replaces the field's text by typing and presses OK; the dialog must still be open afterwards unless
    // the text is accepted.
    static void Submit(CInputDlg& dlg, const QString& text) {
        if (!dlg.m_edit.Native()) {
            skintest::ClickAt(dlg, TestDialog::Centre(dlg.m_edit));
        }
        ASSERT_NE(dlg.m_edit.Native(), nullptr);
        dlg.m_edit.Native()->selectAll();
        QTest::keyClick(dlg.m_edit.Native()->widget(), Qt::Key_Delete);
        for (const QChar c : text) {
            if (c == u'\n') {
                QTest::keyClick(dlg.m_edit.Native()->widget(), Qt::Key_Return);
            } else {
                // Any character, as an input method delivers it.
                QTest::sendKeyEvent(QTest::Press, dlg.m_edit.Native()->widget(), Qt::Key_unknown, QString(c),
                                    {});
            }
        }
        skintest::ClickAt(dlg, TestDialog::Centre(dlg.m_ok));
    }

    TestDialog parent;
    QStringList messages;
};

} // namespace

// Each refused name shows why and leaves the dialog open; the accepted one comes back trimmed, in the case
// and with the prefixes it was typed with.
TEST(InputDialog, DomainNamesAreCheckedWithoutCaseOrPrefix) {
    InputRun run;
    CInputDlg dlg(&run.parent, true, false);
    const int result = run.Run(dlg, [&](CInputDlg& d) {
        for (const QString& refused :
             {u"example-1.com/path"_s, u"exa mple.com"_s, u"example"_s, u"a_b.com"_s, u"   "_s}) {
            InputRun::Submit(d, refused);
            EXPECT_EQ(d.Result(), 0) << refused.toStdString();
        }
        InputRun::Submit(d, u"  HTTPS://WWW.Example-1.com  "_s);
    });
    EXPECT_EQ(result, skin::kResultOk);
    EXPECT_EQ(dlg.m_text, u"HTTPS://WWW.Example-1.com"_s);
    EXPECT_EQ(run.messages, (QStringList{u"Only domain names are allowed (eg. example.com)."_s, kInvalid,
                                         u"Your domain name does not have an extension"_s, kInvalid,
                                         u"Please enter the domain name you want to search for."_s}));
    EXPECT_EQ(dlg.windowText(), u"Tarnwick 2.0 :: Add new project "_s);
}

// A separator stands for each line break: the initial text shows one entry per line and the accepted lines
// come back joined by it. Blanks only are refused; domains may be written in any alphabet; the window
// manager's close cancels through the dialog.
TEST(InputDialog, MultiLineEntriesAndTheSeparator) {
    InputRun run;
    CInputDlg keywords(&run.parent, false, true, u"red,green"_s, u","_s);
    QString shown;
    EXPECT_EQ(run.Run(keywords,
                      [&](CInputDlg& d) {
                          shown = d.m_edit.GetText();
                          InputRun::Submit(d, u" \n  "_s);
                          InputRun::Submit(d, u"red\ngreen\nblue\n"_s);
                      }),
              skin::kResultOk);
    EXPECT_EQ(shown, u"red\r\ngreen"_s);
    EXPECT_EQ(keywords.m_text, u"red,green,blue"_s);
    EXPECT_EQ(run.messages, (QStringList{u"Please enter the keyword(s) you want to query,"_s}));

    CInputDlg domains(&run.parent, true, true);
    EXPECT_EQ(run.Run(domains, [](CInputDlg& d) { InputRun::Submit(d, u"www.example.com\nпример.рф"_s); }),
              skin::kResultOk);
    EXPECT_EQ(domains.m_text, u"www.example.com\r\nпример.рф"_s);

    CInputDlg list(&run.parent, false, false);
    list.m_mode = CInputDlg::kModeList;
    list.m_items = {u"alpha"_s, u"beta"_s};
    EXPECT_EQ(run.Run(list,
                      [](CInputDlg& d) {
                          d.m_dropList.SetCurSel(1, true);
                          skintest::ClickAt(d, TestDialog::Centre(d.m_ok));
                      }),
              skin::kResultOk);
    EXPECT_EQ(list.m_text, u"beta"_s);
    EXPECT_EQ(list.m_chosen, (std::vector<int>{1}));

    CInputDlg closed(&run.parent, false, false, u"kept"_s);
    EXPECT_EQ(run.Run(closed, [](CInputDlg& d) { d.widget()->close(); }), skin::kResultCancel);
    EXPECT_EQ(closed.m_text, u"kept"_s);
}
