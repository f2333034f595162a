#include "platform/keys.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_dlg_splitter.h"
#include "skin/skin_progress.h"
#include "skin/skin_radio.h"
#include "skin/skin_slider.h"
#include "skin/value_format.h"
#include "tests/skin/contrast.h"
#include "tests/skin/pixel_count.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/window_events.h"

#include <gtest/gtest.h>
#include <limits>

using namespace Qt::StringLiterals;
using skintest::At;
using skintest::ClickAt;
using skintest::ClickOn;
using skintest::DragMouse;
using skintest::TestDialog;
using skintest::UnshownDialog;

namespace {

constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();

} // namespace

// Radios of one holder with one command exclude each other; another command or another holder is another
// group. A press dragged from one radio to another clicks neither. A check box toggles by mouse and by Space.
TEST(SkinRadio, GroupsExcludeEachOtherAndCheckBoxesToggleUnderRealInput) {
    TestDialog dlg;
    CSkinRadio engines[3], other, nested, box;
    CSkinDlgHolder panel;
    dlg.build = [&](TestDialog& d) {
        auto add = [&d](CSkinRadio& r, CSkinDlgHolder& in, const QString& command, int param, int x, int y) {
            r.Create(&in, d.m_nextElementId++, u"Engine %1"_s.arg(param), command, param);
            r.SetPosition(x, y, r.m_width, r.m_height, 0);
        };
        for (int i = 0; i < 3; ++i)
            add(engines[i], d.m_rootHolder, u"engine"_s, i, 20, 50 + 30 * i);
        add(other, d.m_rootHolder, u"order"_s, 0, 200, 50);
        panel.Create(&d.m_rootHolder, d.m_nextElementId++);
        panel.SetPosition(200, 100, 180, 60, 0);
        add(nested, panel, u"engine"_s, 9, 5, 5);
        add(box, d.m_rootHolder, u"pacing"_s, 4, 20, 160);
        box.SetStyle(1);
    };
    dlg.Open();
    engines[0].m_checked = other.m_checked = nested.m_checked = true;
    ClickOn(dlg, engines[1]);
    ClickOn(dlg, engines[1]);
    EXPECT_FALSE(engines[0].m_checked);
    EXPECT_TRUE(engines[1].m_checked) << "clicking a checked radio keeps it checked";
    EXPECT_TRUE(other.m_checked);
    EXPECT_TRUE(nested.m_checked);
    DragMouse(dlg, skintest::Centre(engines[0]), skintest::Centre(engines[2]));
    EXPECT_FALSE(engines[0].m_checked || engines[2].m_checked);

    ClickOn(dlg, box);
    EXPECT_TRUE(box.m_checked);
    ClickOn(dlg, box);
    QTest::keyClick(dlg.widget(), Qt::Key_Space);
    EXPECT_TRUE(box.m_checked);
    EXPECT_EQ(dlg.commands, (QStringList{u"engine"_s, u"engine"_s, u"pacing"_s, u"pacing"_s, u"pacing"_s}));
    EXPECT_EQ(dlg.params.front(), 1);
}

// 211 px wide: the range 0-100 over 200 px of pointer travel. A drag past either end pins the slider there;
// keys step it once a click gave it the focus. Narrow sliders and the widest range neither divide by zero nor
// overflow.
TEST(SkinSlider, FollowsTheMouseAndTheKeysWithinItsRange) {
    TestDialog dlg;
    CSkinSlider slider, narrow;
    dlg.build = [&](TestDialog& d) {
        slider.Create(&d.m_rootHolder, 2);
        slider.SetPosition(20, 60, 211, 30, 0);
        narrow.Create(&d.m_rootHolder, 3);
        narrow.SetPosition(20, 120, 11, 30, 0);
    };
    dlg.Open();
    DragMouse(dlg, At(slider, 100, 10), At(slider, 500, 10));
    EXPECT_EQ(slider.m_position, 100);
    DragMouse(dlg, At(slider, 100, 10), At(slider, -50, 40));
    EXPECT_EQ(slider.m_position, 0);
    ClickAt(dlg, At(slider, 40, 10));
    EXPECT_EQ(slider.m_position, 20);
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_Right, 21}, {Qt::Key_Up, 22},     {Qt::Key_PageDown, 32},
        {Qt::Key_Down, 31},  {Qt::Key_Left, 30},   {Qt::Key_PageUp, 20},
        {Qt::Key_End, 100},  {Qt::Key_Right, 100}, {Qt::Key_Home, 0}};
    for (const auto& [key, position] : steps) {
        QTest::keyClick(dlg.widget(), key);
        EXPECT_EQ(slider.m_position, position) << key;
    }
    ClickAt(dlg, At(narrow, 8, 10));
    EXPECT_EQ(narrow.m_position, 100);
    EXPECT_TRUE(dlg.commands.isEmpty());

    slider.m_minimum = slider.m_position = kIntMin;
    slider.m_maximum = kIntMax;
    ClickAt(dlg, At(slider, 100, 10));
    EXPECT_EQ(slider.m_position, -1);
    for (const auto& [key, position] : {std::pair{Qt::Key_End, kIntMax}, std::pair{Qt::Key_PageDown, kIntMax},
                                        std::pair{Qt::Key_Home, kIntMin}, std::pair{Qt::Key_Left, kIntMin}}) {
        QTest::keyClick(dlg.widget(), key);
        EXPECT_EQ(slider.m_position, position) << key;
    }
    dlg.RenderAll(skin::HostWindow(dlg).backBuffer());
}

// Value formats are the owners': only the first "%d" and "%%" are read, so no other sequence can go wrong.
TEST(ValueFormat, ReadsOnlyTheFirstNumberAndPercentSigns) {
    EXPECT_EQ(skin::FormatValue(u"%d %%"_s, 45), u"45 %"_s);
    EXPECT_EQ(skin::FormatValue(u"%s%d of %d"_s, -2), u"%s-2 of %d"_s);
    EXPECT_EQ(skin::FormatValue(u"100%"_s, 7), u"100%"_s);
}

// Full on a 204-px bar the done part runs from 1 to 201 under white text; a position outside a changed range
// draws as the range's end. Whatever the share, the percentage reads against what lies under each of its
// parts: over the done part and over the empty track alike.
TEST(SkinProgress, FillsItsShareAndItsTextReadsOnBothSidesOfTheEdge) {
    UnshownDialog d;
    CSkinProgress bar;
    skintest::Place(bar, d.dlg.m_rootHolder, 0, 0, 204, 20);
    const plat::Rect fill = skin::AtlasRect("progress.fill");
    const plat::ColorRef done = bar.m_pAtlasDC->getPixel(fill.left, fill.top + 1);
    plat::DeviceContext dc(204, 14);
    bar.SetRangePos(0, 100, 250);
    bar.Draw(dc, 0, 0, true);
    EXPECT_EQ(dc.getPixel(1, 2), done);
    EXPECT_EQ(dc.getPixel(200, 2), done);
    EXPECT_NE(dc.getPixel(201, 2), done);
    EXPECT_GT(skintest::CountPixels(dc, plat::Rect{20, 0, 180, 14}, skintest::NearWhite), 10);

    // A long text, as the project bar writes, stays centred on the bar and straddles the fill's edge.
    plat::DeviceContext bare(204, 14);
    for (const QString& format : {u"%d %%"_s, u"%d of 100 requests done"_s}) {
        for (int position : {3, 20, 30, 40, 46, 48, 50, 52, 60, 90}) {
            bar.SetPos(position);
            bar.m_format = format;
            bar.Draw(dc, 0, 0, true);
            bar.m_format.clear();
            bar.Draw(bare, 0, 0, true);
            const int edge = position * 200 / 100 + 1;
            int left = 204, right = 0;
            for (int x = 0; x < 204; ++x) {
                for (int y = 0; y < 14; ++y) {
                    if (dc.getPixel(x, y) != bare.getPixel(x, y)) {
                        left = qMin(left, x);
                        right = qMax(right, x + 1);
                    }
                }
            }
            ASSERT_LT(left, right) << "no text at " << position;
            if (left < edge - 2) {
                EXPECT_GE(skintest::StrongestInk(dc, bare, left, qMin(right, edge - 1)), 4.5)
                    << format.toStdString() << " over the done part at " << position;
            }
            if (right > edge + 2) {
                EXPECT_GE(skintest::StrongestInk(dc, bare, qMax(left, edge + 1), right), 4.5)
                    << format.toStdString() << " over the track at " << position;
            }
        }
    }
    bar.m_format = u"%d %%"_s;
    bar.SetRangePos(kIntMin, kIntMax, kIntMax);
    bar.SetRange(0, 10);
    bar.Draw(dc, 0, 0, true);
    EXPECT_EQ(dc.getPixel(200, 2), done);
}

// A running marquee is a 20-px block standing at the position, without text; stopping it returns to the
// minimum and brings the percentage back.
TEST(SkinProgress, MarqueeRunsAsABlockAndStopsAtTheMinimum) {
    UnshownDialog d;
    CSkinProgress bar;
    skintest::Place(bar, d.dlg.m_rootHolder, 0, 0, 204, 20);
    const plat::Rect fill = skin::AtlasRect("progress.fill");
    const plat::ColorRef done = bar.m_pAtlasDC->getPixel(fill.left, fill.top + 1);
    plat::DeviceContext dc(204, 14);
    auto filled = [&] {
        bar.Draw(dc, 0, 0, true);
        int count = 0;
        for (int x = 0; x < 204; ++x)
            count += dc.getPixel(x, 2) == done ? 1 : 0;
        return count;
    };
    bar.SetRangePos(10, 110, 60);
    bar.StartMarquee();
    EXPECT_EQ(filled(), 20);
    EXPECT_EQ(dc.getPixel(102 - 10, 2), done);
    EXPECT_EQ(dc.getPixel(102 + 9, 2), done);
    plat::DeviceContext bare(204, 14);
    bar.m_format.clear();
    bar.Draw(bare, 0, 0, true);
    EXPECT_EQ(dc.image(), bare.image()) << "no text";
    bar.m_format = u"%d %%"_s;
    bar.SetPos(10);
    EXPECT_EQ(filled(), 9) << "clamped at the start";
    bar.SetPos(85);
    bar.StopMarquee();
    EXPECT_EQ(bar.m_position, 10);
    EXPECT_EQ(filled(), 0);
    bar.m_format.clear();
    bar.Draw(bare, 0, 0, true);
    EXPECT_GE(skintest::StrongestInk(dc, bare, 0, 204), 4.5) << "the percentage is back";
}

// The bar follows the pointer between its minimum (50) and the holder's size less the far-end space (60),
// sends its position with every change and nothing when clamped in place or merely clicked; a smaller holder
// pulls it in and shortens it.
TEST(SkinDlgSplitter, DragsWithinItsLimitsAndFollowsTheHolder) {
    for (int orientation : {CSkinDlgSplitter::kHorizontal, CSkinDlgSplitter::kVertical}) {
        TestDialog dlg;
        CSkinDlgHolder panel(false, true);
        CSkinDlgSplitter split;
        dlg.build = [&](TestDialog& d) {
            panel.Create(&d.m_rootHolder, 2);
            panel.SetPosition(10, 40, 400, 300, 0);
            split.Create(&panel, 3, orientation, 50, 60, 120, u"split_moved"_s, 5);
        };
        dlg.Open();
        const bool horizontal = orientation == CSkinDlgSplitter::kHorizontal;
        const int far = horizontal ? 300 - 60 : 400 - 60;
        auto drag = [&](int by) {
            dlg.commands.clear();
            const plat::Point from = At(split, split.m_width / 2, split.m_height / 2);
            DragMouse(dlg, from,
                      horizontal ? plat::Point{from.x, from.y + by} : plat::Point{from.x + by, from.y});
            skintest::MoveMouse(dlg, {from.x + 1, from.y + 1});
            return dlg.commands.size();
        };
        EXPECT_EQ(drag(50), 1);
        EXPECT_EQ(dlg.params.back(), 170);
        EXPECT_EQ(horizontal ? split.m_y : split.m_x, 167);
        EXPECT_EQ(drag(1000), 1);
        EXPECT_EQ(split.m_position, far);
        EXPECT_EQ(drag(20), 0);
        EXPECT_EQ(drag(0), 0) << "a click sends nothing";
        drag(-1000);
        EXPECT_EQ(split.m_position, 50);

        drag(150);
        dlg.commands.clear();
        panel.SetPosition(-1, -1, 200, 200, 0);
        EXPECT_EQ(dlg.commands, (QStringList{u"split_moved"_s}));
        EXPECT_EQ(split.m_position, 200 - 60);
        EXPECT_EQ(horizontal ? split.m_width : split.m_height, horizontal ? 200 - 40 : 200 - 180);
    }
}
