#pragma once

#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/web/skin_html_viewer.h"

#include <QString>

// A message written in HTML, shown in a browser view, with an OK button.
class CHTMLMessageBoxDlg : public CSkinDlg {
  public:
    // width and height: the dialog's size.
    CHTMLMessageBoxDlg(CSkinDlg_Base* parent, const QString& html, const QString& caption, int width,
                       int height);
    ~CHTMLMessageBoxDlg() override;

    void CreateElements() override;
    // OK ends the box with 1.
    bool OnCommand(const QString& command, int param) override;

    QString m_html;
    QString m_caption;
    CSkinHTMLViewer m_viewer;
    CSkinButton m_okButton;
};
