#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "skin/button_images.h"
#include "skin/frame_clock.h"
#include "skin/skin_element.h"

// The text button of every dialog: a state image from the atlas stretched to the button's width, a centred
// caption and, for busy project tabs, an animated icon.
class CSkinButton : public CSkinElement {
  public:
    CSkinButton();
    ~CSkinButton() override;

    void Create(CSkinDlgHolder* holder, unsigned id, const QString& caption = QString(),
                const QString& command = QString(), int param = 0,
                const QString& tooltip = QString()) override;
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void UpdateTextExtent(plat::DeviceContext& dc) override;

    // Cap -1 takes a third of the width.
    void SetImages(const skin::StateImages& images, int cap);
    void SetImages(int normalX, int normalY, int hotX, int hotY, int disabledX, int disabledY, int pressedX,
                   int pressedY, int width, int height, int cap);
    // One state's picture (0 normal, 1 hot, 2 disabled, 3 pressed); a width, height or cap of -1 keeps
    // the one the button has. A height is the picture's and the drawn height.
    void SetStateImage(int state, int x, int y, int width, int height, int cap);
    // A null font keeps the font; kKeepColor keeps the text colour.
    void SetColors(int leftMargin, int rightMargin, int topMargin, const plat::Font* font,
                   plat::ColorRef color);
    void SetStyle(int preset);
    void SetHeight(int drawnHeight, const plat::Font* font);
    void SetAnimation(const skin::AnimationStrip& strip, bool iconLeft);
    void SetAnimation(int stripX, int stripY, int frameWidth, int frameHeight, bool vertical, int frameCount,
                      bool iconLeft);
    void StopAnimation();

    // Hot while under the pointer or focused; pressed while hot and held.
    bool IsHot() const;
    bool IsPressed() const;

    static constexpr plat::ColorRef kKeepColor = 0xFFFFFFFFu;

    skin::StateImages m_images;
    // Differs from the images' height only after SetHeight: the images are then stretched.
    int m_drawnHeight = 0;
    int m_cap = 0;
    int m_marginLeft = 0;
    int m_marginRight = 0;
    int m_marginTop = 0;
    plat::Size m_textExtent;
    const plat::Font* m_pFont = nullptr;
    plat::ColorRef m_textColor = 0;
    skin::FrameClock m_frames;
    // The strip's frames, prepared as an icon in the text colour.
    plat::DeviceContext m_frameDC;
    skin::AnimationStrip m_strip;
    bool m_iconLeft = false;

  private:
    void Remeasure();
};
