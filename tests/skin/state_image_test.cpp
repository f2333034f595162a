#include "skin/button_images.h"
#include "skin/skin_atlas.h"
#include "skin/skin_button.h"
#include "skin/skin_ico_button.h"
#include "skin/skin_radio.h"
#include "skin/skin_slider.h"
#include "tests/support/skin_test_support.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skin::AtlasRect;
using skintest::UnshownDialog;

namespace {

constexpr plat::ColorRef kBehind = plat::Rgb(1, 2, 3);

// How many pixels of the picture, copied to (x, y) of dc, dc does not show; the picture's key colour, when
// given, shows what lies behind.
int Mismatches(const plat::DeviceContext& dc, int x, int y, const plat::DeviceContext& atlas,
               const plat::Rect& piece, plat::ColorRef key = plat::kInvalidColor) {
    int wrong = 0;
    for (int py = 0; py < piece.height(); ++py) {
        for (int px = 0; px < piece.width(); ++px) {
            const plat::ColorRef want = atlas.getPixel(piece.left + px, piece.top + py);
            if (want != key && dc.getPixel(x + px, y + py) != want)
                ++wrong;
        }
    }
    return wrong;
}

const plat::DeviceContext& Drawn(CSkinElement& e, int width, int height) {
    static plat::DeviceContext dc;
    dc.create(width, height);
    dc.fillSolidRect(plat::Rect{0, 0, width, height}, kBehind);
    e.Draw(dc, 0, 0, true);
    return dc;
}

} // namespace

// A state's picture set alone shows in that state only; a new size makes the button as high as its picture.
TEST(StateImages, OneButtonStateAtATime) {
    UnshownDialog d;
    const plat::DeviceContext& atlas = *d.dlg.m_pAtlasDC;
    CSkinButton b;
    b.Create(&d.dlg.m_rootHolder, 2, QString());
    b.SetPosition(0, 0, 48, 29, 0);
    constexpr plat::Rect kNormal = AtlasRect("button.normal");
    constexpr plat::Rect kPressed = AtlasRect("button.pressed");
    b.SetStateImage(skin::kImageHot, kPressed.left, kPressed.top, -1, -1, -1);
    EXPECT_EQ(Mismatches(Drawn(b, 48, 29), 0, 0, atlas, kNormal), 0);
    d.dlg.m_pHover = &b;
    EXPECT_EQ(Mismatches(Drawn(b, 48, 29), 0, 0, atlas, kPressed), 0) << "hot shows the picture given";
    d.dlg.m_pHover = nullptr;

    constexpr plat::Rect kTab = AtlasRect("tab.normal");
    b.SetStateImage(skin::kImageNormal, kTab.left, kTab.top, kTab.width(), kTab.height(), 5);
    b.SetPosition(0, 0, kTab.width(), 29, 0);
    const plat::DeviceContext& tab = Drawn(b, 48, 29);
    EXPECT_EQ(b.m_height, kTab.height());
    EXPECT_EQ(Mismatches(tab, 0, 0, atlas, kTab), 0);
    EXPECT_EQ(tab.getPixel(5, kTab.height()), kBehind) << "nothing below the shorter picture";
    b.SetStateImage(4, 0, 0, 10, 10, 10);
    EXPECT_EQ(b.m_images.normal, kTab.topLeft()) << "no state 4";
    EXPECT_EQ(b.m_images.size, kTab.size());
}

// Style 1 gives an icon button the toolbar's wide back in every state, style 0 the push button's again;
// other numbers change nothing.
TEST(StateImages, IconButtonBackStyles) {
    UnshownDialog d;
    const plat::DeviceContext& atlas = *d.dlg.m_pAtlasDC;
    CSkinIcoButton b;
    constexpr plat::Rect kIcon = AtlasRect("holder.arrowUp");
    b.SetIconRects(kIcon.left, kIcon.top, kIcon.left, kIcon.top, kIcon.left, kIcon.top, kIcon.left, kIcon.top,
                   kIcon.width(), kIcon.height());
    b.CreateEx(&d.dlg.m_rootHolder, 2, u"Tool"_s, u"tool"_s, 0, QString(), nullptr, 0,
               CSkinIcoButton::kIconLeft);
    constexpr plat::Rect kWide = AtlasRect("toolbar.wideBack");
    b.SetPosition(0, 0, kWide.width(), kWide.height(), 0);
    // The icon and text stand in the middle; the corners are the back's own.
    const plat::Rect corner{kWide.left, kWide.top, kWide.left + 8, kWide.top + 8};
    b.SetBackStyle(1);
    d.dlg.m_pHover = d.dlg.m_pPressed = &b;
    EXPECT_EQ(Mismatches(Drawn(b, kWide.width(), kWide.height()), 0, 0, atlas, corner), 0);
    d.dlg.m_pHover = d.dlg.m_pPressed = nullptr;
    b.SetEnabled(false);
    EXPECT_EQ(Mismatches(Drawn(b, kWide.width(), kWide.height()), 0, 0, atlas, corner), 0);
    b.SetEnabled(true);
    b.SetBackStyle(7);
    EXPECT_EQ(Mismatches(Drawn(b, kWide.width(), kWide.height()), 0, 0, atlas, corner), 0);
    b.SetBackStyle(0);
    constexpr plat::Rect kPush = AtlasRect("button.normal");
    EXPECT_EQ(Mismatches(Drawn(b, kWide.width(), kWide.height()), 0, 0, atlas,
                         plat::Rect{kPush.left, kPush.top, kPush.left + 8, kPush.top + 8}),
              0);
}

// One box picture of a radio, ticked or not, and a slider's thumb or track: each shows where it was set.
TEST(StateImages, RadioBoxAndSliderPictures) {
    UnshownDialog d;
    const plat::DeviceContext& atlas = *d.dlg.m_pAtlasDC;
    constexpr plat::ColorRef kKey = plat::Rgb(255, 0, 255);
    constexpr plat::Rect kOff = AtlasRect("check.off");
    constexpr plat::Rect kOn = AtlasRect("check.on");
    CSkinRadio radio;
    radio.Create(&d.dlg.m_rootHolder, 2);
    radio.m_checked = true;
    EXPECT_EQ(Mismatches(Drawn(radio, 40, 40), 1, 1, atlas, kOn, kKey), 0);
    radio.SetStateImage(4, kOff.left, kOff.top, -1, -1);
    EXPECT_EQ(Mismatches(Drawn(radio, 40, 40), 1, 1, atlas, kOff, kKey), 0) << "ticked shows the new picture";
    radio.m_checked = false;
    radio.SetStateImage(0, kOn.left, kOn.top, -1, -1);
    EXPECT_EQ(Mismatches(Drawn(radio, 40, 40), 1, 1, atlas, kOn, kKey), 0);
    radio.SetStateImage(0, kOn.left, kOn.top, 15, 15);
    EXPECT_EQ(radio.m_checkedImages.size, (plat::Size{15, 15})) << "one box size for both halves";
    EXPECT_EQ(radio.m_height, 17);

    CSkinSlider slider;
    slider.Create(&d.dlg.m_rootHolder, 3);
    slider.SetPosition(0, 0, 200, 30, 0);
    constexpr plat::Rect kHeld = AtlasRect("slider.thumb.pressed");
    const plat::ColorRef thumbKey = atlas.getPixel(kHeld.left, kHeld.top);
    slider.SetImages(true, kHeld.topLeft(), kHeld.topLeft(), kHeld.topLeft(), kHeld.width(), kHeld.height());
    EXPECT_EQ(Mismatches(Drawn(slider, 200, 30), 0, 0, atlas, kHeld, thumbKey), 0);
    // A track from the thumb's picture: its left end shows beside the thumb at the far end.
    slider.m_position = 100;
    slider.SetImages(false, kHeld.topLeft(), kHeld.topLeft(), kHeld.topLeft(), 24, 10);
    const plat::DeviceContext& track = Drawn(slider, 200, 30);
    EXPECT_EQ(Mismatches(track, 0, (kHeld.height() - 10) / 2, atlas,
                         plat::Rect::fromXywh(kHeld.left, kHeld.top, 8, 10)),
              0);
}
