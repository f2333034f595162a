#pragma once

#include "skin/skin_element.h"

#include <QString>

// A list element that holds a list's place in a dialog but keeps no items: every caller finds it empty. It
// can take the focus, sends no command on a click, and sends its command on a double click.
class CSkinWinList : public CSkinElement {
  public:
    CSkinWinList();
    ~CSkinWinList() override;

    // The two numbers are accepted for the callers' sake and not used.
    void CreateList(CSkinDlgHolder* holder, unsigned id, int, int, const QString& command,
                    const QString& tooltip = QString());

    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void UpdateTextExtent(plat::DeviceContext& dc) override;
    void OnDblClick(int x, int y) override;

    int AddString(const QString& text);
    int AddItem(const QString& text, int data, bool flag);
    void ResetContent();
    int GetCount() const;
    bool GetSel(int index) const;
    int GetItemData(int index) const;

  private:
    // Sent on a double click only: as the element's own command a click would send it too.
    QString m_listCommand;
};
