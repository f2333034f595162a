#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "skin/button_images.h"
#include "skin/skin_element.h"

#include <QString>

// A large project-kind button: a card back cut in nine parts, a 42 x 42 icon at its top left, and beside it
// the caption (left-aligned) over a second text (centred) that follows the selected flag. Both texts are cut
// with an ellipsis when the card is too narrow for them.
class CSkinIcoPrjButton : public CSkinElement {
  public:
    CSkinIcoPrjButton();
    ~CSkinIcoPrjButton() override;

    // Element Create, then back style 1.
    void Create(CSkinDlgHolder* holder, unsigned id, const QString& caption = QString(),
                const QString& command = QString(), int param = 0,
                const QString& tooltip = QString()) override;
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void UpdateTextExtent(plat::DeviceContext& dc) override;

    void SetBackRects(int normalX, int normalY, int hotX, int hotY, int disabledX, int disabledY,
                      int pressedX, int pressedY, int width, int height);
    // 0: the push-button back of icon buttons; 1: the project card; 2: the card of the chosen kind. Other
    // numbers leave the back as it is.
    void SetBackStyle(int style);
    // The icon's top-left in image (null: the dialog's skin atlas); transparent draws it keyed with magenta.
    void SetIcon(const plat::DeviceContext* image, int x, int y, bool transparent);
    // The second line: text while not selected, selectedText while selected.
    void SetTexts(const QString& text, const QString& selectedText);
    void SetSelected(bool selected);
    // The second line as it shows now.
    const QString& SecondText() const { return m_selected ? m_selectedText : m_text; }

    bool IsHot() const;
    bool IsPressed() const;
    // Where the two lines go, relative to the button, for its size and the measured texts.
    plat::Rect CaptionRect() const;
    plat::Rect SecondTextRect() const;

    static constexpr int kIconSize = 42;
    static constexpr int kIconMargin = 4;

    skin::StateImages m_back;
    const plat::DeviceContext* m_pIconDC = nullptr;
    plat::Point m_icon{-1, -1};
    bool m_transparentIcon = false;
    plat::ColorRef m_keyColor = plat::Rgb(255, 0, 255);
    bool m_selected = false;
    QString m_text;
    QString m_selectedText;
    plat::Size m_captionExtent;
    plat::Size m_secondExtent;
    const plat::Font* m_pCaptionFont = nullptr;
    const plat::Font* m_pTextFont = nullptr;
};
