#include "skin/button_images.h"
#include "skin/skin_button.h"
#include "skin/skin_ico_button.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_clock.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace skin;
using skintest::UnshownDialog;

TEST(ButtonImages, BackSlicesCoverTheButtonFromInsideTheImage) {
    for (int width : {10, 30, 48, 85, 86, 200}) {
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
    // Narrow: the outer halves meet; the right part ends at the image's right edge.
    EXPECT_EQ(ButtonBackSlices(48, 5, 30), (std::vector<SlicePiece>{{0, 15, 0, 15}, {33, 15, 15, 15}}));
}

// At the image's own width the button is one copy of it; disabled shows the disabled image even hovered
// and held.
TEST(SkinButton, DrawsTheImageOfItsState) {
    UnshownDialog d;
    CSkinButton b;
    b.Create(&d.dlg.m_rootHolder, 2, QString());
    b.SetPosition(0, 0, 48, 29, 0);
    const plat::DeviceContext& atlas = *b.m_pAtlasDC;
    constexpr plat::Rect kPressed = AtlasRect("button.pressed");
    constexpr plat::Rect kTabDisabled = AtlasRect("tab.disabled");
    plat::DeviceContext dc(48, 29);
    d.dlg.m_pFocus = d.dlg.m_pPressed = &b;
    b.Draw(dc, 0, 0, true);
    for (int x = 0; x < 48; x += 7)
        EXPECT_EQ(dc.getPixel(x, 14), atlas.getPixel(kPressed.left + x, kPressed.top + 14)) << x;
    d.dlg.m_pFocus = nullptr;
    EXPECT_FALSE(b.IsPressed()) << "held while the pointer is elsewhere";
    b.SetStyle(2);
    b.SetEnabled(false);
    d.dlg.m_pHover = &b;
    b.Draw(dc, 0, 0, true);
    EXPECT_EQ(dc.getPixel(12, 13), atlas.getPixel(kTabDisabled.left + 12, kTabDisabled.top + 13));
    d.dlg.m_pHover = d.dlg.m_pPressed = nullptr;
}

TEST(SkinButton, AnimationKeepsItsPhaseAndShowsInTheTextColour) {
    twtest::TestClock clock{{.monotonicMs = 1'000'000}};
    UnshownDialog d;
    CSkinButton b;
    b.Create(&d.dlg.m_rootHolder, 2, u"Project"_s);
    b.SetPosition(0, 0, 120, 29, 0);
    constexpr plat::Rect kStrip = AtlasRect("tab.busy");
    b.SetAnimation(kStrip.left, kStrip.top, 16, 16, true, 8, false);
    clock.AdvanceMs(250);
    plat::DeviceContext dc(120, 29);
    b.Draw(dc, 0, 0, true);
    for (int y = 0; y < kStrip.height(); y += 5) {
        const std::uint32_t p = b.m_frameDC.pixelArgb(7, y);
        EXPECT_TRUE((p >> 24) != 255 || plat::ColorOfArgb(p) == b.m_textColor) << "row " << y;
    }
    b.StopAnimation();
    EXPECT_FALSE(b.m_frames.Running());
}

namespace {

constexpr plat::ColorRef kKey = 0xFF00FF;
constexpr plat::ColorRef kBehind = plat::Rgb(1, 2, 3);
constexpr plat::ColorRef kCellColours[4] = {plat::Rgb(200, 0, 0), plat::Rgb(0, 200, 0), plat::Rgb(0, 0, 200),
                                            plat::Rgb(90, 90, 90)};

// A keyed sheet of four 10-px cells, each with a 6-px square of its own colour at (2, 2).
void PaintSheet(plat::DeviceContext& sheet) {
    sheet.fillSolidRect(plat::Rect{0, 0, 40, 30}, kKey);
    for (int i = 0; i < 4; ++i)
        sheet.fillSolidRect(plat::Rect::fromXywh(10 * i + 2, 2, 6, 6), kCellColours[i]);
}

// Colour at a point of a 40 x 40 icon-only button drawn in the given state, without a back; its 10-px icon
// stands at (15, 15).
plat::ColorRef IconPixel(UnshownDialog& d, CSkinIcoButton& b, bool enabled, bool hot, bool pressed,
                         plat::Point at = {20, 20}) {
    b.SetEnabled(enabled);
    d.dlg.m_pHover = hot ? &b : nullptr;
    d.dlg.m_pPressed = pressed ? &b : nullptr;
    plat::DeviceContext dc(40, 40);
    dc.fillSolidRect(plat::Rect{0, 0, 40, 40}, kBehind);
    b.Draw(dc, 0, 0, true);
    d.dlg.m_pHover = d.dlg.m_pPressed = nullptr;
    return dc.getPixel(at.x, at.y);
}

} // namespace

// The icon pairs come as normal, hot, pressed, disabled: unlike every other image set, pressed is third.
// Without pairs the icons are cut from the sheet by column, squares a third of its height, keyed when its
// corners agree.
TEST(SkinIcoButton, IconsFromTheirPairsOrCutFromTheSheet) {
    UnshownDialog d;
    plat::DeviceContext sheet(40, 30);
    PaintSheet(sheet);
    CSkinIcoButton paired, cut;
    paired.SetIconRects(0, 0, 10, 0, 20, 0, 30, 0, 10, 10);
    for (CSkinIcoButton* b : {&paired, &cut}) {
        b->CreateEx(&d.dlg.m_rootHolder, 2, QString(), u"tool"_s, 0, QString(), &sheet, 2,
                    CSkinIcoButton::kIconOnly | CSkinIcoButton::kNoBack);
        b->SetPosition(0, 0, 40, 40, 0);
    }
    EXPECT_EQ(IconPixel(d, paired, true, false, false), kCellColours[0]);
    EXPECT_EQ(IconPixel(d, paired, true, true, false), kCellColours[1]);
    EXPECT_EQ(IconPixel(d, paired, true, true, true), kCellColours[2]);
    EXPECT_EQ(IconPixel(d, paired, false, true, true), kCellColours[3]);
    EXPECT_EQ(IconPixel(d, cut, true, false, false), kCellColours[2]);
    EXPECT_EQ(IconPixel(d, cut, true, false, false, {16, 16}), kBehind);
}
