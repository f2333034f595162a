#include "skin/band_buttons.h"
#include "skin/skin_button.h"
#include "tests/skin/contrast.h"
#include "tests/support/skin_test_support.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// A secondary band button (BACK, CANCEL) that works reads as clearly as the main one, and plainly unlike a
// disabled one: its caption stands out strongly from its face.
TEST(BandButtons, AWorkingSecondaryButtonDoesNotLookDisabled) {
    skintest::UnshownDialog d;
    CSkinButton back;
    back.Create(&d.dlg.m_rootHolder, 2, u"BACK"_s);
    StyleSecondaryBandButton(back, d.dlg);
    auto captionContrast = [&](bool enabled) {
        back.SetEnabled(enabled);
        plat::DeviceContext with(back.m_width, back.m_height);
        plat::DeviceContext without(back.m_width, back.m_height);
        back.Draw(with, 0, 0, true);
        const QString caption = back.m_caption;
        back.m_caption.clear();
        back.m_textExtent = {};
        back.Draw(without, 0, 0, true);
        back.m_caption = caption;
        back.UpdateTextExtent(d.dlg.MeasureDC());
        return skintest::StrongestInk(with, without, 0, back.m_width);
    };
    const double working = captionContrast(true);
    const double disabled = captionContrast(false);
    EXPECT_GE(working, 7.0);
    EXPECT_GE(working, 2 * disabled);
}
