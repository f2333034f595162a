#pragma once

#include "platform/device_context.h"
#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_edit.h"
#include "skin/skin_label.h"

#include <QString>

class CDownloader;

// The keyword tool's picture-code prompt: the picture a run fetched, a field for the code it shows, OK, a
// button for a new picture and Cancel. DoModal answers 2 when cancelled; otherwise m_answer holds the typed
// code, or "#retry_me#" when the user asked for a new picture.
class CProject1_GoogleSuggDlg : public CSkinDlg {
  public:
    // Reads the picture from the downloader's reply bytes; a reply that is no picture leaves the picture
    // area blank (m_pictureFailed), and the user can still ask for a new one or cancel.
    CProject1_GoogleSuggDlg(CSkinDlg_Base* parent, const CDownloader& downloader);
    ~CProject1_GoogleSuggDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;
    void DrawBackground(plat::DeviceContext& dc) override;

    // Where the picture is shown: a picture larger than this is scaled down to fit, keeping its shape.
    plat::Rect PictureArea() const;

    QString m_answer;
    bool m_pictureFailed = false;
    plat::DeviceContext m_picture;

    CSkinLabel m_promptLabel;
    CSkinEdit m_codeEdit;
    CSkinButton m_okButton;
    CSkinButton m_newPictureButton;
    CSkinButton m_cancelButton;
};

// Makes the dialog the prompt the keyword tool asks through.
void InstallGoogleSuggPrompt();
