#include "skin/color_text.h"
#include "skin/skin_button.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_color_sel.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"
#include "tests/support/window_events.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// A setting typed by hand may be short or mistyped: every pair that is not two hexadecimal digits reads 00.
TEST(ColorText, ReadsPairsAndTreatsShortOrInvalidOnesAsZero) {
    const std::pair<QString, QString> cases[] = {
        {u"#00ff00"_s, u"00FF00"_s}, {u"1a2B3c"_s, u"1A2B3C"_s},   {u"abc"_s, u"AB0000"_s},
        {u"#1"_s, u"000000"_s},      {u""_s, u"000000"_s},         {u"zz11g0"_s, u"001100"_s},
        {u"#"_s, u"000000"_s},       {u"ffffffff"_s, u"FFFFFF"_s},
    };
    for (const auto& [text, color] : cases)
        EXPECT_EQ(skin::ColorText(skin::ParseColorText(text)), color) << text.toStdString();
}

// The picker opens below its button showing the colour it starts from. A release inside picks the colour
// under the pointer (the swatch in the sixth column of the third row is 00FF66). Cancelled before the
// pointer came in, the colour is still the first one; once the pointer crossed the black background, that is
// the current colour even though the run is cancelled.
TEST(ColorPicker, PicksTheColourUnderThePointerOrCancels) {
    skintest::TestDialog dlg;
    CSkinButton dots;
    dlg.build = [&](skintest::TestDialog& d) {
        dots.Create(&d.m_rootHolder, d.m_nextElementId++, u"..."_s, u"edit_GA_col"_s);
        dots.SetPosition(200, 100, 30, 29, 0);
    };
    dlg.Open();
    const struct {
        std::function<void(CSkinMenuColorSel&)> act;
        int result;
        QString color;
    } cases[] = {
        {[](CSkinMenuColorSel& p) {
             skintest::ClickAt(p, {31 + 5 * 10 + 4, 25 + 2 * 10 + 4});
         },
         1, u"00FF66"_s},
        {[](CSkinMenuColorSel& p) {
             skintest::PressMouse(p, {-5, 40}, true);
         },
         2, u"00FF00"_s},
        {[](CSkinMenuColorSel& p) {
             skintest::PressMouse(p, {300, 40}, false);
         },
         2, u"00FF00"_s},
        {[](CSkinMenuColorSel& p) {
             skintest::MoveMouse(p, {100, 143});
             QTest::keyClick(p.widget(), Qt::Key_Escape);
         },
         2, u"000000"_s},
    };
    for (const auto& c : cases) {
        plat::Rect placed;
        QString shown;
        CSkinMenuColorSel picker(&dlg, &dots, u"#00ff00"_s);
        skintest::ModalScript hook([&](CSkinDlg_Base&) {
            placed = skin::HostWindow(picker).windowRect();
            shown = picker.m_color;
            c.act(picker);
        });
        EXPECT_EQ(picker.DoModal(), c.result) << c.color.toStdString();
        EXPECT_EQ(picker.m_color, c.color);
        EXPECT_EQ(shown, u"00FF00"_s);
        EXPECT_EQ(placed.topLeft(), skin::HostWindow(dlg).clientToScreen({200, 129}));
    }
}
