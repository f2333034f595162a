#pragma once

#include "platform/geometry.h"
#include "skin/dialog_handle.h"
#include "skin/element_handle.h"
#include "skin/skin_dlg.h"

#include <QString>
#include <vector>

// One line of a popup menu; the text "-" makes a separator.
struct CSkinMenuPopup_Item {
    QString text;
    QString command;
    int param = 0;
};

// The menu of every context menu: a grabbing popup at a point that runs modally and ends when an item is
// released on, on a press outside, Esc or the loss of the focus. The chosen item's command reaches the
// dialog that opened the menu like an element click, once the menu and the code that ran it have returned.
// Callers build it on the stack, add items, run DoModal and let it go.
class CSkinMenuPopup : public CSkinDlg {
  public:
    // With an owner element, x and y count from the element's place in its dialog and -1 takes the cursor's
    // screen position; without one they are screen coordinates.
    CSkinMenuPopup(CSkinDlg_Base* parent, CSkinElement* owner, int x, int y, bool openUpward = false);
    ~CSkinMenuPopup() override;

    void AddItem(const QString& text, const QString& command = QString(), int param = 0);

    void CreateElements() override;
    void DrawBackground(plat::DeviceContext& dc) override;
    void onMouseMove(int x, int y) override;
    void onLButtonUp(int x, int y) override;
    void onRButtonUp(int x, int y) override;

    const std::vector<CSkinMenuPopup_Item>& Items() const { return m_items; }
    int HoveredItem() const { return m_hovered; }
    bool OpensUpward() const { return m_openUpward; }

    static inline const QString kSeparator = QStringLiteral("-");

  private:
    static bool IsSeparator(const CSkinMenuPopup_Item& item) { return item.text == kSeparator; }
    int ItemAt(int y) const;
    void SetHovered(int index);
    // A release over an item chooses it and ends the menu.
    void ReleaseAt(int x, int y);

    std::vector<CSkinMenuPopup_Item> m_items;
    skin::ElementHandle m_owner;
    bool m_hasOwner;
    int m_itemHeight = 0;
    int m_hovered = -1;
    int m_x;
    int m_y;
    bool m_openUpward;
    bool m_closing = false;
    int m_chosen = -1;
    skin::DialogHandle m_receiver;
    // The laid-out width; the window is one pixel larger each way.
    int m_menuWidth = 0;
};
