#include "skin/color_text.h"
#include "skin/skin_button.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_color_sel.h"
#include "tests/skin/skin_test_support.h"
#include "tests/skin/test_printers.h"
#include "tests/skin/window_events.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::ModalHook;
using skintest::TestDialog;

// A setting typed by hand may be short or mistyped: every pair that is not two hexadecimal digits reads 00.
TEST(ColorText, ReadsPairsAndTreatsShortOrInvalidOnesAsZero) {
    const struct {
        QString text;
        QString color;
    } cases[] = {
        {u"#00ff00"_s, u"00FF00"_s}, {u"1a2B3c"_s, u"1A2B3C"_s},   {u"abc"_s, u"AB0000"_s},
        {u"#1"_s, u"000000"_s},      {u""_s, u"000000"_s},         {u"zz11g0"_s, u"001100"_s},
        {u"#"_s, u"000000"_s},       {u"ffffffff"_s, u"FFFFFF"_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(skin::ColorText(skin::ParseColorText(c.text)), c.color) << c.text.toStdString();
    }
}

namespace {

class ColorPickerTest : public ::testing::Test {
  protected:
    ColorPickerTest() {
        dlg.build = [this](TestDialog& d) {
            dots.Create(&d.m_rootHolder, d.m_nextElementId++, u"..."_s, u"edit_GA_col"_s);
            dots.SetPosition(200, 100, 30, 29, 0);
        };
        dlg.Open();
    }
    // Runs a picker at the button, starting from start, with act driving it once shown.
    int Run(const QString& start, const std::function<void(CSkinMenuColorSel&)>& act) {
        ModalHook hook([&](plat::Window& w) {
            auto& picker = dynamic_cast<CSkinMenuColorSel&>(w);
            placed = picker.windowRect();
            shownColor = picker.m_color;
            act(picker);
        });
        CSkinMenuColorSel picker(&dlg, &dots, start);
        const int result = picker.DoModal();
        color = picker.m_color;
        return result;
    }

    TestDialog dlg;
    CSkinButton dots;
    plat::Rect placed;
    QString shownColor;
    QString color;
};

} // namespace

// Opens below its button; the swatch in the sixth column of the third row is 00FF66; a release inside picks
// it.
TEST_F(ColorPickerTest, PicksTheColourUnderThePointer) {
    const int result = Run(u"#00ff00"_s, [](CSkinMenuColorSel& p) {
        skintest::ClickAt(p, {31 + 5 * 10 + 4, 25 + 2 * 10 + 4});
    });
    EXPECT_EQ(result, skin::kResultOk);
    EXPECT_EQ(color, u"00FF66"_s);
    EXPECT_EQ(placed.topLeft(), dlg.clientToScreen({200, 129}));
}

// Cancelled before the pointer came in, the colour is still the one it started from; once the pointer moved
// over the black background, that is the current colour even though the run is cancelled.
TEST_F(ColorPickerTest, CancelledByAnOutsidePressEscOrAReleaseOutside) {
    struct Case {
        const char* name;
        std::function<void(CSkinMenuColorSel&)> act;
        QString color;
    };
    const Case cases[] = {
        {"press outside",
         [](CSkinMenuColorSel& p) {
             skintest::PressMouse(p, {-5, 40}, true);
         },
         u"00FF00"_s},
        {"Esc after the background",
         [](CSkinMenuColorSel& p) {
             skintest::MoveMouse(p, {100, 143});
             QTest::keyClick(p.widget(), Qt::Key_Escape);
         },
         u"000000"_s},
        {"release outside",
         [](CSkinMenuColorSel& p) {
             skintest::PressMouse(p, {300, 40}, false);
         },
         u"00FF00"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(u"#00ff00"_s, c.act), skin::kResultCancel) << c.name;
        EXPECT_EQ(shownColor, u"00FF00"_s) << c.name;
        EXPECT_EQ(color, c.color) << c.name;
    }
}
