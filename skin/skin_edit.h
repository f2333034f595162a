#pragma once

#include "platform/geometry.h"
#include "skin/skin_element.h"
#include "skin/skin_win_edit.h"

#include <memory>

// The text field of dialogs and pages: single-line, multi-line, numeric or password. Without the focus it is
// only drawn; with it a native editing child stands over its text area, and when the focus goes the text
// comes back into the caption and the child goes. It reports typing with command + "_typing", text dropped
// onto it with command + "_onPaste", and the end of editing with its plain command.
class CSkinEdit : public CSkinElement {
  public:
    CSkinEdit();
    ~CSkinEdit() override;

    // extraStyle: plat::kEditPassword or plat::kEditUpperCase. A field that is not numeric takes text
    // dropped onto it; a numeric one does not, and Tab passes it by.
    void Create(CSkinDlgHolder* holder, unsigned id, const QString& caption, bool multiLine, bool numeric,
                const QString& command, const QString& tooltip, unsigned extraStyle = 0);
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void OnSetFocus(int x, int y) override;
    void OnKillFocus() override;
    void SetText(const QString& text) override;
    QString GetText() const override;
    bool OnDropText(int x, int y, const QString* text) override;
    // The editing child, while there is one, follows the field.
    void OnDialogPainted() override;

    // Leaves dialog and holder. A field being edited first ends its editing, which its command reports, and
    // keeps the text typed so far; a dialog being torn down hears nothing.
    void Detach();
    // The selection of the field being edited, as the native child counts it (a line break is two
    // characters); false, and nothing done, while the field is not being edited.
    bool GetSel(int& start, int& end) const;
    bool SetSel(int start, int end);
    bool ReplaceSel(const QString& text);
    // Multi-line: the content height and scroll position follow the text and the child's scrolling.
    void SyncText();
    // Where the native child stands, relative to the field.
    plat::Rect NativeRect() const;
    // The native child while the field is being edited, else none.
    CSkin_WinEdit* Native() const { return m_pEdit.get(); }

    // What the native child holds at most (the window system's own default is 32,767).
    static constexpr int kTextLimit = 655350;

    int m_lineHeight = -1;
    bool m_multiLine = false;
    bool m_numeric = false;
    unsigned m_style = 0;

  private:
    int LineHeight();
    QString ShownText() const;

    std::unique_ptr<CSkin_WinEdit> m_pEdit;
};
