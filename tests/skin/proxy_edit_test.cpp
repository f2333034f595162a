#include "skin/message_box_dlg.h"
#include "skin/proxy_edit_dlg.h"
#include "skin/skin_constants.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"
#include "tests/support/window_events.h"

#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

const QString kEmpty = u"Please enter the PROXY server you want to use"_s;
const QString kNotAnAddress = u"PROXY server does not appear to be an IP address"_s;

using skintest::ClickOn;

} // namespace

// The typed address loses blanks, case, a scheme and "www."; what then does not start as four numbers with
// dots between is refused with a message and the editor stays open (and is then cancelled). The port field
// stores its number, 0 when it holds none.
TEST(ProxyEditor, CleansTheAddressAndRefusesWhatIsNoNumericAddress) {
    const struct {
        QString typed;
        QString port;
        QString message;
        QString address;
        int storedPort;
    } cases[] = {
        {u"  HTTP://192.168.0.10 "_s, u"3128"_s, QString(), u"192.168.0.10"_s, 3128},
        {u"https://www.10.0.0.1"_s, QString(), QString(), u"10.0.0.1"_s, 0},
        {u"999.1.2.3:80"_s, u"8080"_s, QString(), u"999.1.2.3:80"_s, 8080},
        {u"www."_s, u"80"_s, kEmpty, QString(), 8080},
        {u"proxy.example.test"_s, u"80"_s, kNotAnAddress, QString(), 8080},
        {u"10.0.0"_s, u"80"_s, kNotAnAddress, QString(), 8080},
    };
    for (const auto& c : cases) {
        CProxyEditDlg dlg(nullptr);
        dlg.m_proxy.userData1 = 7;
        dlg.m_proxy.userData2 = -3;
        dlg.m_proxy.userData = QStringList{u"kept"_s};
        QStringList messages;
        int openAfterMessage = -1;
        skintest::ModalScript hook([&](CSkinDlg_Base& w) {
            if (auto* box = dynamic_cast<CMessageBoxDlg*>(&w)) {
                messages << box->m_text + u'|' + QString::number(box->m_type);
                ClickOn(*box, box->m_button1);
                return;
            }
            // The address field has the keyboard as the editor opens.
            EXPECT_NE(dlg.m_address.Native(), nullptr);
            for (const QChar ch : c.typed)
                QTest::keyClick(dlg.widget()->windowHandle(), ch.toLatin1());
            ClickOn(dlg, dlg.m_port);
            QTest::keyClick(dlg.widget()->windowHandle(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(dlg.widget()->windowHandle(), Qt::Key_Delete);
            for (const QChar ch : c.port)
                QTest::keyClick(dlg.widget()->windowHandle(), ch.toLatin1());
            ClickOn(dlg, dlg.m_okButton);
            openAfterMessage = dlg.Result() == 0;
            if (openAfterMessage)
                ClickOn(dlg, dlg.m_cancelButton);
        });
        const int result = dlg.DoModal();
        if (c.message.isEmpty()) {
            EXPECT_EQ(result, skin::kResultOk) << c.typed.toStdString();
            EXPECT_TRUE(messages.isEmpty()) << c.typed.toStdString();
        } else {
            EXPECT_EQ(result, skin::kResultCancel) << c.typed.toStdString();
            EXPECT_EQ(openAfterMessage, 1);
            EXPECT_EQ(messages, QStringList{c.message + u'|' + QString::number(skin::kMessageExclamation)});
        }
        EXPECT_EQ(dlg.m_proxy.address, c.address) << c.typed.toStdString();
        EXPECT_EQ(dlg.m_proxy.port, c.storedPort) << c.typed.toStdString();
        EXPECT_EQ(std::tuple(dlg.m_proxy.userData1, dlg.m_proxy.userData2, dlg.m_proxy.userData),
                  std::tuple(7, -3, QStringList{u"kept"_s}))
            << "the caller's own values pass through";
        EXPECT_EQ(dlg.Title(), u"Tarnwick 2.0 :: Add new PROXY server "_s);
    }
}
