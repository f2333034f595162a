#pragma once

#include "platform/device_context.h"
#include "platform/geometry.h"
#include "skin/button_images.h"
#include "skin/skin_element.h"

// A radio button or check box with a caption. Radios of one holder that share a command form a group: a
// click checks one and clears the others. The dialog reads and sets the checked flag directly.
class CSkinRadio : public CSkinElement {
  public:
    CSkinRadio();
    ~CSkinRadio() override;

    void Create(CSkinDlgHolder* holder, unsigned id, const QString& text = QString(),
                const QString& command = QString(), int param = 0,
                const QString& tooltip = QString()) override;
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void UpdateTextExtent(plat::DeviceContext& dc) override;
    bool OnMouse(int x, int y, int state) override;

    // 0 radio, 1 check box, both with the standard box pictures; any other value makes a check box and keeps
    // the pictures.
    void SetStyle(int style);
    // The box pictures unticked and ticked, of one size.
    void SetImages(const skin::StateImages& unchecked, const skin::StateImages& checked);
    void SetImages(plat::Point uncheckedNormal, plat::Point uncheckedHot, plat::Point uncheckedDisabled,
                   plat::Point uncheckedPressed, plat::Point checkedNormal, plat::Point checkedHot,
                   plat::Point checkedDisabled, plat::Point checkedPressed, int boxWidth, int boxHeight);

    // One picture: 0 to 3 unticked, 4 to 7 ticked, each normal, hot, disabled, pressed. A width or height of
    // -1 keeps the box's.
    void SetStateImage(int index, int x, int y, int width, int height);

    skin::StateImages m_uncheckedImages;
    skin::StateImages m_checkedImages;
    plat::Size m_textExtent;
    bool m_pressed = false;
    bool m_checked = false;
    bool m_checkBox = false;

  private:
    void ClearGroup();
};
