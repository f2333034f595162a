#pragma once

#include "core/history_drop_list.h"
#include "platform/geometry.h"
#include "skin/skin_element.h"

#include <QList>
#include <memory>

class CSkin_WinEdit;
class CSkin_WinList;

// The drop-down list of dialogs and pages: the chosen item's text in a 25-px frame with an arrow; a click
// opens the popup list below it, and choosing an item selects it and sends the list's command with the
// item's index. An editable list also takes typed text through a native editing child.
class CSkinDropList : public CSkinElement, public HistoryDropList {
  public:
    struct CSkinListBox_Item {
        QString text;
        qint32 data = 0;
    };

    CSkinDropList();
    ~CSkinDropList() override;

    void Create(CSkinDlgHolder* holder, unsigned id, const QString& caption, bool editable,
                const QString& command, const QString& tooltip = QString());
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void OnPositionChanged() override;
    // The editing child, while there is one, follows the field.
    void OnDialogPainted() override;
    void UpdateTextExtent(plat::DeviceContext& dc) override;
    void OnMouseLeave() override;
    bool OnMouse(int x, int y, int state) override;
    void OnSetFocus(int x, int y) override;
    void OnKillFocus() override;
    void SetText(const QString& text) override;
    QString GetText() const override;
    bool OnDropText(int x, int y, const QString* text) override;

    int AddItem(const QString& text, int data) override;
    // An index outside 0..count appends.
    void InsertItem(const QString& text, int index, int data);
    // Indexes outside the items change nothing and read as an empty text and 0.
    void SetItemText(int index, const QString& text);
    QString GetItemText(int index) const;
    qint32 GetItemData(int index) const;
    int GetCount() const { return static_cast<int>(m_items.size()); }
    int GetCurSel() const { return m_curSel; }
    // An index outside the items changes nothing and sends nothing.
    void SetCurSel(int index, bool silent) override;
    // No selection and an empty text, without a notification.
    void ClearSelection();
    // The first item with exactly this text; -1 when none.
    int FindItem(const QString& text) const;
    // The first item that begins with the text, A-Z compared ignoring case; -1 when none.
    int FindItemPrefix(const QString& text) const;
    void ResetContent() override;
    void SelectEditText();
    // Leaves dialog and holder and frees the editing child and the popup.
    void DestroyPopup();
    void OpenPopup();
    void ClosePopup();
    // A line chosen in the popup: it closes, then the item is selected with a notification.
    void PickFromPopup(int index);

    bool IsPopupOpen() const { return m_popupOpen; }
    CSkin_WinList* Popup() const { return m_pPopup.get(); }
    CSkin_WinEdit* Native() const { return m_pEdit.get(); }
    const QList<CSkinListBox_Item>& Items() const { return m_items; }
    // Where the editing child stands, relative to the list.
    plat::Rect NativeRect() const;
    // Height of the popup window for the given popup height: whole 15-px lines plus the frame.
    static int PopupWindowHeight(int popupHeight);

    static constexpr int kHeight = 25;
    static constexpr int kLineHeight = 15;
    // The click that closes the popup must not open it again.
    static constexpr int kClickGuardMs = 10;

    bool m_editable = false;
    bool m_arrowHot = false;
    qint64 m_ignoreMouseUntil = 0;
    int m_popupHeight = 120;
    int m_margin = 3;
    int m_textOffset = 4;

  private:
    void MeasureTextOffset();

    QList<CSkinListBox_Item> m_items;
    int m_curSel = -1;
    bool m_popupOpen = false;
    bool m_pressed = false;
    std::unique_ptr<CSkin_WinEdit> m_pEdit;
    std::unique_ptr<CSkin_WinList> m_pPopup;
};
