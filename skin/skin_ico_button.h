#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/geometry.h"
#include "skin/button_images.h"
#include "skin/skin_element.h"

// A button with an icon cut from a sprite sheet (the skin atlas unless another sheet is given) and optional
// text beside or below it: the toolbar, the tab scroll arrows, the wizard's kind buttons and the small icon
// buttons of project pages.
class CSkinIcoButton : public CSkinElement {
  public:
    // Layout flags.
    enum Layout {
        kIconAbove = 1,
        kIconLeft = 2,
        kIconRight = 4,
        kIconOnly = 8,
        kNoBack = 16,
        kFrameWhileHot = 32,
    };
    CSkinIcoButton();
    ~CSkinIcoButton() override;

    // iconImage null: the dialog's skin atlas.
    void CreateEx(CSkinDlgHolder* holder, unsigned id, const QString& caption, const QString& command,
                  int param, const QString& tooltip, const plat::DeviceContext* iconImage, int iconColumn,
                  int layoutFlags);
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void UpdateTextExtent(plat::DeviceContext& dc) override;

    void SetBackImages(const skin::StateImages& back);
    void SetIconImages(const skin::StateImages& icons);
    void SetBackRects(int normalX, int normalY, int hotX, int hotY, int disabledX, int disabledY,
                      int pressedX, int pressedY, int width, int height);
    // The icon's pairs come in the order normal, hot, pressed, disabled.
    void SetIconRects(int normalX, int normalY, int hotX, int hotY, int pressedX, int pressedY, int disabledX,
                      int disabledY, int width, int height);

    // 0: the push button's back, as CreateEx gives it; 1: the toolbar's wide back in every state. Other
    // numbers change nothing.
    void SetBackStyle(int style);

    bool IsHot() const;
    bool IsPressed() const;
    // Where the icon and the text go inside the button, for the current layout and state.
    struct Placement {
        plat::Point icon;
        plat::Rect text;
    };
    Placement Place(bool hotNotPressed) const;

    skin::StateImages m_back;
    plat::Size m_textExtent;
    plat::ColorRef m_keyColor = 0xFF00FF;
    bool m_transparentIcon = false;
    bool m_selected = false;
    const plat::DeviceContext* m_pIconDC = nullptr;
    int m_layout = kIconAbove;
    skin::StateImages m_icons;
    bool m_iconsSet = false;
};
