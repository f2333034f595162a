#pragma once

#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_label.h"
#include "skin/skin_radio.h"

#include <QString>

// The system's message box: every question, warning and error reaches the user in it. The type chooses the
// buttons (low four bits: OK, OK/Cancel, Yes/No/Cancel, Yes/No) and the icon (next four bits: stop,
// question, exclamation, information); the result is 1 OK, 2 Cancel, 6 Yes or 7 No. Escape and the close
// button always answer 2. Callers reach it through CSkinDlg_Base::MessageBox.
class CMessageBoxDlg : public CSkinDlg {
  public:
    CMessageBoxDlg(CSkinDlg_Base* parent, const QString& text, const QString& caption, unsigned type);
    ~CMessageBoxDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;
    void DrawBackground(plat::DeviceContext& dc) override;
    void OnTimer(unsigned id) override;

    // Text with "\n" line breaks; the caption is the title.
    QString m_text;
    QString m_caption;
    // Non-empty: replaces the first, second or third button's caption.
    QString m_button1Text;
    QString m_button2Text;
    QString m_button3Text;
    // Non-empty: a second text below the buttons.
    QString m_footerText;
    unsigned m_type;
    int m_buttonWidth = 90;
    // Offers a check box not to show the message again; m_neverAgain is its state at the last click.
    bool m_showNeverAgain = false;
    bool m_neverAgain = false;

    CSkinButton m_button1;
    CSkinButton m_button2;
    CSkinButton m_button3;
    CSkinLabel m_textLabel;
    CSkinLabel m_footerLabel;
    CSkinRadio m_neverAgainBox;

  private:
    // Repaints the whole box once its elements have settled.
    static constexpr unsigned kSettleTimer = 1;
};
