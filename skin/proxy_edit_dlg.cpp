#include "skin/proxy_edit_dlg.h"

#include "core/number_text.h"
#include "skin/commands.h"
#include "skin/skin_constants.h"
#include "skin/skin_edit_int.h"

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

constexpr int kButtonWidth = 90;
constexpr int kFieldHeight = 25;

// Whether text starts as "%d.%d.%d.%d" reads it: four numbers with a dot between each two; blanks before a
// number and anything after the fourth are allowed, as is any number's size.
bool ReadsAsFourNumbers(QStringView text) {
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (!text.startsWith(u'.'))
                return false;
            text = text.sliced(1);
        }
        qsizetype end = 0;
        if (!number_text::ReadInt(text, &end))
            return false;
        text = text.sliced(end);
    }
    return true;
}

QString WithoutPrefix(QString text, QStringView prefix) {
    return text.startsWith(prefix) ? text.sliced(prefix.size()) : text;
}

} // namespace

CProxyEditDlg::CProxyEditDlg(CSkinDlg_Base* parent) : CSkinDlg(parent) {
    m_width = 400;
    m_height = 142;
    m_maximizable = false;
    m_closable = false;
    m_minimizable = false;
}

CProxyEditDlg::~CProxyEditDlg() = default;

void CProxyEditDlg::CreateElements() {
    m_title = m_proxy.address.isEmpty() ? u"Tarnwick 2.0 :: Add new PROXY server "_s
                                        : u"Tarnwick 2.0 :: Edit PROXY server "_s;
    m_prompt.CreateLabel(&m_rootHolder, ++m_nextElementId, u"Please enter the PROXY server:"_s, 17, 40);
    m_address.Create(&m_rootHolder, ++m_nextElementId, m_proxy.address, false, false, QString(), QString());
    m_address.SetPosition(17, 61, m_width - 134, kFieldHeight);
    m_portLabel.CreateLabel(&m_rootHolder, ++m_nextElementId, u", port:"_s, m_width - 107, 63);
    m_port.Create(&m_rootHolder, ++m_nextElementId, QString(), false, true, QString(), QString());
    m_port.SetPosition(m_width - 67, 61, 50, kFieldHeight);
    SetSkinEditInt(m_port, m_proxy.port);
    m_okButton.Create(&m_rootHolder, ++m_nextElementId, u"OK"_s, cmd::kOk);
    m_okButton.SetPosition(m_width / 2 - 95, m_height - 45, kButtonWidth, skin::kButtonHeight);
    m_cancelButton.Create(&m_rootHolder, ++m_nextElementId, u"Cancel"_s, cmd::kCancel);
    m_cancelButton.SetPosition(m_width / 2 + 5, m_height - 45, kButtonWidth, skin::kButtonHeight);
    m_address.SetFocus();
}

bool CProxyEditDlg::OnCommand(const QString& command, int param) {
    if (command == cmd::kOk || command == cmd::kDefaultOk) {
        if (Accept())
            EndSkinDialog(skin::kResultOk);
        return true;
    }
    if (command == cmd::kCancel || command == cmd::kDefaultCancel) {
        EndSkinDialog(skin::kResultCancel);
        return true;
    }
    return CSkinDlg::OnCommand(command, param);
}

bool CProxyEditDlg::Accept() {
    QString address = m_address.GetText().trimmed().toLower();
    address = WithoutPrefix(WithoutPrefix(WithoutPrefix(address, u"http://"), u"https://"), u"www.");
    if (address.isEmpty()) {
        MessageBox(u"Please enter the PROXY server you want to use"_s, QString(), skin::kMessageExclamation);
        return false;
    }
    if (!ReadsAsFourNumbers(address)) {
        MessageBox(u"PROXY server does not appear to be an IP address"_s, QString(),
                   skin::kMessageExclamation);
        return false;
    }
    m_proxy.address = address;
    m_proxy.port = GetSkinEditInt(m_port);
    return true;
}
