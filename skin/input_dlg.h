#pragma once

#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_drop_list.h"
#include "skin/skin_edit.h"
#include "skin/skin_label.h"
#include "skin/skin_win_list_element.h"

#include <QString>
#include <QStringList>
#include <vector>

// The small dialog in which the user types keywords or domain names. It checks the input before it closes
// (domain names in domain mode, something at all otherwise) and hands the accepted text back in m_text, line
// breaks turned into the caller's separator. DoModal answers 1 (accepted) or 2.
class CInputDlg : public CSkinDlg {
  public:
    // An empty separator stands for a line break (CR LF); an empty prompt keeps the standard one.
    CInputDlg(CSkinDlg_Base* parent, bool domainMode, bool multiLine, const QString& text = QString(),
              const QString& separator = QString(), const QString& prompt = QString());
    ~CInputDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;

    // The input modes: a text field, an editable drop list, a drop list, a list window.
    enum Mode { kModeEdit = 0, kModeEditableList = 1, kModeList = 2, kModeListWindow = 3 };

    bool m_domainMode;
    bool m_multiLine;
    int m_mode = kModeEdit;
    // Items of the list modes, and the indexes the user had chosen when the input was accepted.
    QStringList m_items;
    std::vector<int> m_chosen;
    // The initial text; after OK the accepted text, trimmed, in the user's letter case.
    QString m_text;
    QString m_separator;
    QString m_prompt;
    QString m_emptyMessage;

    CSkinLabel m_promptLabel;
    CSkinEdit m_edit;
    CSkinDropList m_dropList;
    CSkinWinList m_list;
    CSkinButton m_ok;
    CSkinButton m_cancel;

  private:
    // What the user entered, and the indexes chosen in a list mode.
    QString Input(std::vector<int>& chosen) const;
    void Accept();
};
