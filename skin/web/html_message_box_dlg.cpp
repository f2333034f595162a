#include "skin/web/html_message_box_dlg.h"

#include "skin/commands.h"
#include "skin/skin_constants.h"

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

constexpr int kButtonWidth = 90;

} // namespace

CHTMLMessageBoxDlg::CHTMLMessageBoxDlg(CSkinDlg_Base* parent, const QString& html, const QString& caption,
                                       int width, int height)
    : CSkinDlg(parent), m_html(html), m_caption(caption) {
    m_width = width;
    m_height = height;
    m_maximizable = false;
    m_closable = false;
    m_minimizable = false;
}

CHTMLMessageBoxDlg::~CHTMLMessageBoxDlg() = default;

void CHTMLMessageBoxDlg::CreateElements() {
    m_title = m_caption;
    m_viewer.Create(&m_rootHolder, ++m_nextElementId);
    m_viewer.SetPosition(10, 35, m_width - 20, m_height - 80);
    m_viewer.WriteHTML(u"<BODY topmargin=2 leftmargin=2 rightmargin=2 bottommargin=2>"_s + m_html +
                       u"</BODY>"_s);
    m_okButton.Create(&m_rootHolder, ++m_nextElementId, u"OK"_s, cmd::kOk);
    m_okButton.SetPosition(m_width / 2 - kButtonWidth / 2, m_height - 35, kButtonWidth, skin::kButtonHeight);
}

bool CHTMLMessageBoxDlg::OnCommand(const QString& command, int param) {
    if (command == cmd::kOk)
        EndSkinDialog(skin::kResultOk);
    return CSkinDlg::OnCommand(command, param);
}
