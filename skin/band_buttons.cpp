#include "skin/band_buttons.h"

#include "skin/button_images.h"
#include "skin/skin_button.h"
#include "skin/skin_dlg_base.h"

namespace {

constexpr skin::StateImages kSecondaryImages = skin::AtlasStates(
    "wizard.button.normal", "wizard.button.hot", "wizard.button.normal", "wizard.button.pressed");
constexpr skin::StateImages kMainImages = skin::AtlasStates("wizard.start.normal", "wizard.start.hot",
                                                            "wizard.start.normal", "wizard.start.pressed");

void Style(CSkinButton& button, const skin::StateImages& images, int rightMargin, const plat::Font& font,
           plat::ColorRef color) {
    button.SetImages(images, -1);
    button.SetColors(17, rightMargin, 1, &font, color);
    button.SetPosition(-1, -1, button.m_textExtent.cx + button.m_marginLeft + button.m_marginRight + 2,
                       button.m_drawnHeight);
}

} // namespace

void StyleSecondaryBandButton(CSkinButton& button, const CSkinDlg_Base& dialog) {
    // Ink, not grey: a grey caption reads as a disabled button.
    Style(button, kSecondaryImages, 15, dialog.m_fontBold14, skin::kButtonTextColor);
}

void StyleMainBandButton(CSkinButton& button, const CSkinDlg_Base& dialog) {
    Style(button, kMainImages, 44, dialog.m_fontBold15, plat::Rgb(54, 54, 54));
}

void PlaceInBand(CSkinButton& button, int x, int dialogHeight) {
    button.SetPosition(x, dialogHeight - kBandHeight + (kBandHeight - button.m_height) / 2, button.m_width,
                       button.m_height);
}
