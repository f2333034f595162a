#include "skin/button_images.h"
#include "skin/skin_button.h"
#include "skin/skin_ico_button.h"
#include "tests/skin/skin_test_support.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace skin;
using skintest::UnshownDialog;

// Disabled wins over everything; a text button is pressed only while hot; an icon button's back shows the
// selection (pressed look) only when not hot.
TEST(ButtonImages, StateToImageMapping) {
    EXPECT_EQ(PickButtonImage(false, true, true), kImageDisabled);
    EXPECT_EQ(PickButtonImage(false, false, false), kImageDisabled);
    EXPECT_EQ(PickButtonImage(true, true, true), kImagePressed);
    EXPECT_EQ(PickButtonImage(true, true, false), kImageHot);
    EXPECT_EQ(PickButtonImage(true, false, false), kImageNormal);
    EXPECT_EQ(PickIcoBackImage(true, false, false, true), kImagePressed);
    EXPECT_EQ(PickIcoBackImage(true, true, false, true), kImageHot);
    EXPECT_EQ(PickIcoBackImage(true, true, true, false), kImagePressed);
    EXPECT_EQ(PickIcoBackImage(false, true, true, true), kImageDisabled);
    EXPECT_EQ(PickIcoBackImage(true, false, false, false), kImageNormal);
}

TEST(ButtonImages, GroupPresetsSwapNormalAndPressedAndUnknownPresetsFallBack) {
    // Presets 4 and 5 are one group's unchosen and chosen looks.
    const ButtonPreset unchosen = ButtonStylePreset(4);
    const ButtonPreset chosen = ButtonStylePreset(5);
    EXPECT_EQ(unchosen.images[kImageNormal], chosen.images[kImagePressed]);
    EXPECT_EQ(unchosen.images[kImagePressed], chosen.images[kImageNormal]);
    EXPECT_FALSE(ButtonStylePreset(1).hasImages);
    EXPECT_FALSE(ButtonStylePreset(42).hasImages);
    EXPECT_EQ(ButtonStylePreset(42).textColor, kButtonTextColor);
}

TEST(ButtonImages, BackSlicesCoverTheButtonExactly) {
    for (int width : {10, 20, 30, 48, 60, 85, 86, 87, 200}) {
        int covered = 0;
        for (const auto& p : ButtonBackSlices(48, 5, width)) {
            EXPECT_EQ(p.dstX, covered) << width;
            EXPECT_GE(p.srcX, 0);
            EXPECT_LE(p.srcX + p.srcWidth, 48);
            covered += p.dstWidth;
        }
        EXPECT_EQ(covered, width);
    }
    EXPECT_EQ(ButtonBackSlices(48, 5, 48), (std::vector<SlicePiece>{{0, 48, 0, 48}}));
    // Wide: the centre column stretched between the two halves.
    EXPECT_EQ(ButtonBackSlices(48, 5, 100),
              (std::vector<SlicePiece>{{0, 24, 0, 24}, {24, 1, 24, 52}, {24, 24, 76, 24}}));
    // Narrow: the outer halves meet; the right part ends at the image's right edge.
    EXPECT_EQ(ButtonBackSlices(48, 5, 30), (std::vector<SlicePiece>{{0, 15, 0, 15}, {33, 15, 15, 15}}));
}

TEST(ButtonImages, NineSliceKeepsCornersAndStretchesTheRest) {
    const auto pieces =
        NineSlice(plat::Rect::fromXywh(320, 127, 48, 29), plat::Rect::fromXywh(0, 0, 100, 60));
    ASSERT_EQ(pieces.size(), 9u);
    EXPECT_EQ(pieces[0].src, plat::Rect::fromXywh(320, 127, 16, 9));
    EXPECT_EQ(pieces[0].dst, plat::Rect::fromXywh(0, 0, 16, 9));
    EXPECT_EQ(pieces[8].dst, (plat::Rect{84, 51, 100, 60}));
    EXPECT_EQ(pieces[4].dst, (plat::Rect{16, 9, 84, 51}));
}

TEST(SkinButton, WidthFollowsTheCaptionAndCapsAndTheCapIsAThirdOfTheImage) {
    UnshownDialog d;
    CSkinButton b;
    b.Create(&d.dlg.m_rootHolder, 2, u"Export"_s, u"export"_s, 3);
    EXPECT_GT(b.m_textExtent.cx, 20);
    EXPECT_EQ(b.m_width, b.m_textExtent.cx + 5 + 5 + 2);
    b.SetImages(290, 73, 353, 73, 290, 73, 290, 100, 62, 26, -1);
    EXPECT_EQ(b.m_cap, 20);
    EXPECT_EQ(b.m_marginLeft, 20);
    EXPECT_EQ(b.m_marginRight, 20);
    b.SetColors(17, 15, 1, &d.dlg.m_fontBold14, plat::rgb(114, 114, 114));
    EXPECT_EQ(b.m_marginLeft, 17);
    b.SetColors(17, 15, 1, nullptr, CSkinButton::kKeepColor);
    EXPECT_EQ(b.m_textColor, plat::rgb(114, 114, 114));
    EXPECT_EQ(b.m_pFont, &d.dlg.m_fontBold14);
}

TEST(SkinButton, TooNarrowButtonWidensOnPaintAndTakesTheDrawnHeight) {
    UnshownDialog d;
    CSkinButton b;
    b.Create(&d.dlg.m_rootHolder, 2, u"X"_s);
    b.SetImages(320, 127, 418, 127, 320, 127, 369, 127, 48, 29, 20);
    b.SetPosition(0, 0, 12, 40, 0);
    plat::DeviceContext dc(100, 100);
    b.Draw(dc, 0, 0, true);
    EXPECT_EQ(b.m_width, 40);
    EXPECT_EQ(b.m_height, 29);
}

// At the image's own width the button is one copy of it; disabled shows the disabled image even hovered
// and pressed.
TEST(SkinButton, DrawsTheImageOfItsState) {
    UnshownDialog d;
    CSkinButton plain, disabled;
    plain.Create(&d.dlg.m_rootHolder, 2, QString());
    plain.SetPosition(0, 0, 48, 29, 0);
    disabled.Create(&d.dlg.m_rootHolder, 3, QString());
    disabled.SetStyle(2);
    disabled.SetPosition(0, 0, 24, 27, 0);
    disabled.SetEnabled(false);
    const plat::DeviceContext& atlas = *plain.m_pAtlasDC;
    plat::DeviceContext dc(48, 29);
    plain.Draw(dc, 0, 0, true);
    for (int x = 0; x < 48; x += 7) {
        EXPECT_EQ(dc.getPixel(x, 14), atlas.getPixel(320 + x, 127 + 14)) << x;
    }
    d.dlg.m_pHover = d.dlg.m_pPressed = &disabled;
    disabled.Draw(dc, 0, 0, true);
    EXPECT_EQ(dc.getPixel(12, 13), atlas.getPixel(72 + 12, 47 + 13));
    d.dlg.m_pHover = d.dlg.m_pPressed = nullptr;
}

TEST(SkinButton, HotAndPressedFollowTheDialogsPointers) {
    UnshownDialog d;
    CSkinButton b;
    b.Create(&d.dlg.m_rootHolder, 2, u"A"_s);
    EXPECT_FALSE(b.IsHot());
    d.dlg.m_pFocus = &b;
    EXPECT_TRUE(b.IsHot());
    EXPECT_FALSE(b.IsPressed());
    d.dlg.m_pPressed = &b;
    EXPECT_TRUE(b.IsPressed());
    d.dlg.m_pFocus = nullptr;
    EXPECT_FALSE(b.IsPressed()); // held but the pointer left: not pressed
    d.dlg.m_pPressed = nullptr;
}

TEST(SkinButton, AnimationRunsOnTheClockAndShowsInTheTextColour) {
    skintest::ManualClock clock;
    UnshownDialog d;
    CSkinButton b;
    b.Create(&d.dlg.m_rootHolder, 2, u"Project"_s);
    b.SetPosition(0, 0, 120, 29, 0);
    b.SetAnimation(467, 122, 16, 16, true, 8, false);
    ASSERT_TRUE(b.m_frames.Running());
    clock.Advance(250);
    plat::DeviceContext dc(120, 29);
    b.Draw(dc, 0, 0, true);
    EXPECT_EQ(b.m_frames.frame, 2);
    // Every prepared pixel is the text colour at some coverage.
    for (int y = 0; y < 16 * 8; y += 5) {
        const std::uint32_t p = b.m_frameDC.pixelArgb(7, y);
        if ((p >> 24) == 255) {
            EXPECT_EQ(plat::colorOfArgb(p), b.m_textColor);
        }
    }
    b.StopAnimation();
    EXPECT_FALSE(b.m_frames.Running());
}

TEST(SkinIcoButton, EqualCornersMakeTheSheetKeyed) {
    UnshownDialog d;
    plat::DeviceContext sheet(72, 30);
    sheet.fillSolidRect(plat::Rect{0, 0, 72, 30}, 0xFF00FF);
    sheet.fillSolidRect(plat::Rect::fromXywh(12, 2, 6, 6), plat::rgb(10, 20, 30));
    CSkinIcoButton b;
    b.CreateEx(&d.dlg.m_rootHolder, 2, QString(), u"tool"_s, 0, QString(), &sheet, 1,
               CSkinIcoButton::kIconOnly);
    EXPECT_TRUE(b.m_transparentIcon);
    EXPECT_EQ(b.m_keyColor, 0xFF00FFu);
    EXPECT_EQ(b.m_iconWidth, 10);
    EXPECT_EQ(b.m_iconImages[CSkinIcoButton::kIconHot], (plat::Point{10, 10}));
    EXPECT_EQ(b.m_iconImages[CSkinIcoButton::kIconPressed], (plat::Point{10, 20}));
    b.SetPosition(0, 0, 40, 40, 0);
    plat::DeviceContext dc(40, 40);
    dc.fillSolidRect(plat::Rect{0, 0, 40, 40}, plat::rgb(1, 2, 3));
    b.m_layout |= CSkinIcoButton::kNoBack;
    b.Draw(dc, 0, 0, true);
    // Icon centred at (15, 15): its key pixels let the background through, its own pixels show.
    EXPECT_EQ(dc.getPixel(15, 15), plat::rgb(1, 2, 3));
    EXPECT_EQ(dc.getPixel(15 + 3, 15 + 3), plat::rgb(10, 20, 30));
}

TEST(SkinIcoButton, IconsSetBeforeCreateAreKeptAndPlacementFollowsTheLayout) {
    UnshownDialog d;
    CSkinIcoButton b;
    b.SetIconRects(251, 24, 251, 24, 251, 24, 251, 24, 22, 18);
    b.CreateEx(&d.dlg.m_rootHolder, 2, u"Next"_s, u"next"_s, 0, QString(), nullptr, 3,
               CSkinIcoButton::kIconLeft);
    EXPECT_EQ(b.m_iconWidth, 22);
    b.SetPosition(0, 0, 120, 30, 0);
    auto p = b.Place(false);
    EXPECT_EQ(p.icon, (plat::Point{6, 6}));
    EXPECT_EQ(p.text.left, 22 + 12);
    b.m_layout = CSkinIcoButton::kIconRight;
    p = b.Place(false);
    EXPECT_EQ(p.icon.x, 120 - 22 - 6);
    EXPECT_EQ(p.text.right, 120 - 22 - 12);
    b.m_layout = CSkinIcoButton::kIconAbove;
    b.SetPosition(0, 0, 80, 70, 0);
    p = b.Place(false);
    EXPECT_EQ(p.icon.y, (70 - 52) / 3 + 3);
    const auto lifted = b.Place(true);
    EXPECT_EQ(lifted.icon.y, p.icon.y - 1);
    EXPECT_EQ(lifted.text.top, p.text.top - 1);
}

TEST(SkinIcoButton, ReleaseDropsTheFocus) {
    UnshownDialog d;
    CSkinIcoButton b;
    b.CreateEx(&d.dlg.m_rootHolder, 2, u"T"_s, u"t"_s, 0, QString(), nullptr, 0, CSkinIcoButton::kIconAbove);
    b.SetFocus();
    ASSERT_EQ(d.dlg.m_pFocus, &b);
    b.OnMouse(1, 1, -1);
    EXPECT_EQ(d.dlg.m_pFocus, nullptr);
}
