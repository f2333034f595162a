#include "skin/skin_atlas.h"
#include "skin/skin_dlg_holder.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/window_events.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skin::AtlasRect;
using skintest::MoveMouse;
using skintest::TestDialog;

namespace {

constexpr plat::ColorRef kKey = plat::Rgb(255, 0, 255);

// How many pixels of the picture, copied to (x, y), the shot does not show (key-coloured ones aside).
int Mismatches(const plat::DeviceContext& shot, int x, int y, const plat::DeviceContext& atlas,
               const plat::Rect& piece) {
    int wrong = 0;
    for (int py = 0; py < piece.height(); ++py)
        for (int px = 0; px < piece.width(); ++px) {
            const plat::ColorRef want = atlas.getPixel(piece.left + px, piece.top + py);
            if (want != kKey && shot.getPixel(x + px, y + py) != want)
                ++wrong;
        }
    return wrong;
}

// A dialog with a framed auto-scroll panel whose content runs far below it, at its start.
struct ScrollPanel {
    ScrollPanel() {
        dlg.m_width = 400;
        dlg.m_height = 300;
        dlg.build = [this](TestDialog& d) {
            panel.Create(&d.m_rootHolder, d.m_nextElementId++);
            panel.SetPosition(20, 40, 200, 150, 0);
            row.Create(&panel, d.m_nextElementId++);
            panel.AddElement(&row, 0, 400, 150, 20);
        };
        dlg.Open();
    }
    const plat::DeviceContext& Shot() {
        shot.create(dlg.m_width, dlg.m_height);
        dlg.RenderAll(shot);
        return shot;
    }
    int Bottom() const { return panel.m_y + panel.m_height; }

    TestDialog dlg;
    CSkinDlgHolder panel{true, false};
    skintest::ProbeElement row;
    plat::DeviceContext shot;
};

} // namespace

// New bar pictures show at once: the bottom bar takes the new height, its ends the new pictures unstretched
// and its hover picture while the pointer rests in its zone, which is as high as the bar; a new arrow stands
// centred on it.
TEST(HolderBars, NewPicturesHeightAndArrowShowAndSteerScrolling) {
    ScrollPanel p;
    const plat::DeviceContext& atlas = *p.dlg.m_pAtlasDC;
    constexpr plat::Rect kPush = AtlasRect("button.normal");
    EXPECT_EQ(Mismatches(p.Shot(), p.panel.m_x, p.Bottom() - kPush.height(), atlas,
                         plat::Rect::fromXywh(kPush.left, kPush.top, 5, kPush.height())),
              0);
    MoveMouse(p.dlg, {p.panel.m_x + 100, p.Bottom() - 29});
    EXPECT_EQ(p.panel.m_autoScrollDir, 1);

    constexpr plat::Rect kNormal = AtlasRect("tab.normal");
    constexpr plat::Rect kHot = AtlasRect("tab.hot");
    constexpr plat::Rect kHeld = AtlasRect("tab.pressed");
    MoveMouse(p.dlg, {p.panel.m_x + 100, p.panel.m_y + 70});
    p.panel.SetBarImages(kNormal.left, kNormal.top, kHot.left, kHot.top, kNormal.left, kNormal.top,
                         kHeld.left, kHeld.top, kNormal.width(), kNormal.height(), -1);
    const int capWidth = kNormal.width() / 3;
    const int barTop = p.Bottom() - kNormal.height();
    const plat::DeviceContext& shot = p.Shot();
    EXPECT_EQ(Mismatches(shot, p.panel.m_x, barTop, atlas,
                         plat::Rect::fromXywh(kNormal.left, kNormal.top, capWidth, kNormal.height())),
              0);
    EXPECT_EQ(
        Mismatches(shot, p.panel.m_x + p.panel.m_width - capWidth, barTop, atlas,
                   plat::Rect::fromXywh(kNormal.right - capWidth, kNormal.top, capWidth, kNormal.height())),
        0);
    EXPECT_EQ(shot.getPixel(p.panel.m_x + 10, barTop - 1), plat::Rgb(255, 255, 255))
        << "content above the bar";

    MoveMouse(p.dlg, {p.panel.m_x + 100, barTop - 1});
    EXPECT_EQ(p.panel.m_autoScrollDir, 0) << "above the shorter zone";
    MoveMouse(p.dlg, {p.panel.m_x + 100, barTop});
    EXPECT_EQ(p.panel.m_autoScrollDir, 1);
    EXPECT_EQ(Mismatches(p.Shot(), p.panel.m_x, barTop, atlas,
                         plat::Rect::fromXywh(kHot.left, kHot.top, capWidth, kHot.height())),
              0)
        << "hover picture while the pointer rests in the zone";

    constexpr plat::Rect kArrow = AtlasRect("check.on");
    p.panel.SetArrowIcon(1, kArrow.left, kArrow.top, kArrow.width(), kArrow.height());
    p.panel.SetArrowIcon(2, 0, 0, 50, 50);
    EXPECT_EQ(Mismatches(p.Shot(), p.panel.m_x + (p.panel.m_width - kArrow.width()) / 2,
                         barTop + (kNormal.height() - kArrow.height()) / 2, atlas, kArrow),
              0);
}

// The element a holder carries along draws white and swallows the mouse: a click on it hovers, presses and
// sends nothing, while what it covers still shows around it.
TEST(HolderInner, DrawsWhiteAndSwallowsTheMouse) {
    TestDialog dlg;
    CSkinDlgHolder holder;
    skintest::ProbeElement under;
    dlg.build = [&](TestDialog& d) {
        under.Create(&d.m_rootHolder, d.m_nextElementId++);
        under.SetPosition(40, 60, 120, 80, 0);
        under.fill = plat::Rgb(200, 30, 30);
        holder.m_inner.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), u"inner"_s);
        holder.m_inner.SetPosition(60, 80, 60, 40, 0);
    };
    dlg.Open();
    plat::DeviceContext shot(dlg.m_width, dlg.m_height);
    dlg.RenderAll(shot);
    EXPECT_EQ(shot.getPixel(90, 100), plat::Rgb(255, 255, 255));
    EXPECT_EQ(shot.getPixel(119, 119), plat::Rgb(255, 255, 255));
    EXPECT_EQ(shot.getPixel(50, 70), plat::Rgb(200, 30, 30));
    const size_t callsBefore = under.calls.size();
    skintest::PressMouse(dlg, {150, 130}, true);
    EXPECT_EQ(dlg.m_pHover, &under) << "beside it the element below is hit";
    skintest::PressMouse(dlg, {150, 130}, false);
    dlg.commands.clear();
    skintest::ClickAt(dlg, {90, 100});
    EXPECT_TRUE(dlg.commands.isEmpty());
    EXPECT_EQ(dlg.m_pPressed, nullptr);
    EXPECT_GT(under.calls.size(), callsBefore);
}
