#pragma once

#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_edit.h"
#include "skin/skin_label.h"

#include <QString>
#include <QStringList>

// Edits the address and port of a proxy server. The caller fills m_proxy before the run and reads it back
// after a result of 1.
class CProxyEditDlg : public CSkinDlg {
  public:
    struct Proxy {
        // Four dot-separated numbers, without a scheme or "www.".
        QString address;
        int port = 8080;
        // The caller's own: the dialog neither reads nor changes them.
        int userData1 = 0;
        int userData2 = 0;
        QStringList userData;
    };

    explicit CProxyEditDlg(CSkinDlg_Base* parent);
    ~CProxyEditDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;

    Proxy m_proxy;

    CSkinLabel m_prompt;
    CSkinLabel m_portLabel;
    CSkinEdit m_address;
    CSkinEdit m_port;
    CSkinButton m_okButton;
    CSkinButton m_cancelButton;

  private:
    // Stores the fields and answers true, or shows why they cannot be stored.
    bool Accept();
};
