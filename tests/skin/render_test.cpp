#include "resources/skin_resources.h"
#include "skin/skin_button.h"
#include "skin/skin_constants.h"
#include "skin/skin_ico_button.h"
#include "tests/skin/skin_test_support.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using skintest::TestDialog;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 420;
constexpr int kPresets[] = {0, 2, 3, 4, 5, 6, 7};
constexpr int kStates = 4; // normal, hot, disabled, pressed
constexpr plat::ColorRef kKey = 0xFF00FF;

QString RenderPath(const QString& name) {
    QDir().mkpath(QStringLiteral(TW_SKIN_RENDER_DIR));
    return QStringLiteral(TW_SKIN_RENDER_DIR) + u'/' + name;
}

// A dialog showing every button preset in every state, and icon buttons from the toolbar sheet.
class GalleryDialog {
  public:
    GalleryDialog() {
        toolbar.loadImage(skin_resources::toolbarPath());
        dlg.m_width = kWidth;
        dlg.m_height = kHeight;
        dlg.m_keepPosition = true;
        dlg.m_title = u"Tarnwick 2.0 :: Button gallery"_s;
        dlg.build = [this](TestDialog& d) {
            static const QString kCaptions[kStates] = {u"Normal"_s, u"Hot"_s, u"Disabled"_s, u"Pressed"_s};
            int y = 44;
            for (int preset : kPresets) {
                for (int state = 0; state < kStates; ++state) {
                    auto button = std::make_unique<CSkinButton>();
                    button->Create(&d.m_rootHolder, d.m_nextElementId++, kCaptions[state], u"b"_s);
                    button->SetStyle(preset);
                    button->SetPosition(16 + state * 108, y, 100, button->m_drawnHeight, 0);
                    button->m_enabled = state != 2;
                    buttons.push_back(std::move(button));
                }
                y += 36 + (preset >= 6 ? 4 : 0);
            }
            for (int i = 0; i < 2; ++i) {
                auto icon = std::make_unique<CSkinIcoButton>();
                icon->CreateEx(&d.m_rootHolder, d.m_nextElementId++, i ? u"Hot"_s : u"Open"_s, u"open"_s, 0,
                               QString(), &toolbar, 1, CSkinIcoButton::kIconAbove);
                icon->SetPosition(470 + i * 80, 44, 74, 70, 0);
                icons.push_back(std::move(icon));
            }
        };
    }

    // Paints the dialog, then each button again in the state its column shows.
    plat::DeviceContext& Render() {
        dlg.redrawNow();
        plat::DeviceContext& dc = dlg.backBuffer();
        for (size_t i = 0; i < buttons.size(); ++i) {
            CSkinButton& b = *buttons[i];
            const int state = int(i % kStates);
            dlg.m_pHover = state == 1 || state == 3 ? &b : nullptr;
            dlg.m_pPressed = state == 3 ? &b : nullptr;
            const plat::Font* previous = dc.selectFont(&dlg.m_font);
            b.Draw(dc, b.m_x, b.m_y, true);
            dc.selectFont(previous);
        }
        dlg.m_pHover = icons[1].get();
        icons[1]->Draw(dc, icons[1]->m_x, icons[1]->m_y, true);
        dlg.m_pHover = dlg.m_pPressed = nullptr;
        return dc;
    }

    plat::DeviceContext toolbar;
    TestDialog dlg;
    std::vector<std::unique_ptr<CSkinButton>> buttons;
    std::vector<std::unique_ptr<CSkinIcoButton>> icons;
};

} // namespace

TEST(Render, FramedDialogWithEveryButtonLook) {
    GalleryDialog g;
    g.dlg.Open();
    ASSERT_EQ(g.dlg.m_width, kWidth);
    const plat::DeviceContext& dc = g.Render();
    ASSERT_EQ(dc.width(), kWidth);
    ASSERT_EQ(dc.height(), kHeight);
    const QString path = RenderPath(u"button_gallery.png"_s);
    ASSERT_TRUE(dc.saveImage(path));
    RecordProperty("png", path.toStdString());

    const plat::DeviceContext& atlas = *g.dlg.m_pAtlasDC;
    // Title bar: the atlas's title piece stretched across, away from the title text and the caption buttons.
    for (int y : {1, 13, 26}) {
        EXPECT_EQ(dc.getPixel(kWidth - 110, y), atlas.getPixel(13, y)) << y;
    }
    // Bottom corners from the atlas, borders in the frame colour.
    EXPECT_EQ(dc.getPixel(0, kHeight - 1), atlas.getPixel(28, 7 + 5));
    EXPECT_EQ(dc.getPixel(kWidth - 1, kHeight - 1), atlas.getPixel(28 + 5, 0 + 5));
    EXPECT_EQ(dc.getPixel(1, kHeight / 2), plat::rgb(0, 100, 168));
    EXPECT_EQ(dc.getPixel(kWidth - 2, kHeight / 2), plat::rgb(0, 100, 168));
    EXPECT_EQ(dc.getPixel(kWidth / 2, kHeight - 2), plat::rgb(0, 100, 168));
    // Caption buttons: minimise, maximise and close in their normal look.
    EXPECT_EQ(dc.getPixel(kWidth - 26 + 10, 4 + 10), atlas.getPixel(109 + 10, 10));
    EXPECT_EQ(dc.getPixel(kWidth - 70 + 10, 4 + 10), atlas.getPixel(43 + 10, 10));
    EXPECT_EQ(dc.getPixel(kWidth - 48 + 3, 4 + 3), atlas.getPixel(65 + 3, 3));
    // The title glows: white text over a darkened halo somewhere in its band.
    bool white = false;
    for (int x = 36; x < 200 && !white; ++x) {
        for (int y = 7; y < 24 && !white; ++y) {
            white = dc.getPixel(x, y) == 0xFFFFFFu;
        }
    }
    EXPECT_TRUE(white);
    // Preset 0: the pressed button's left cap is the pressed image's.
    const CSkinButton& pressed = *g.buttons[3];
    EXPECT_EQ(dc.getPixel(pressed.m_x + 2, pressed.m_y + 14), atlas.getPixel(369 + 2, 127 + 14));
    const CSkinButton& hot = *g.buttons[1];
    EXPECT_EQ(dc.getPixel(hot.m_x + 2, hot.m_y + 14), atlas.getPixel(418 + 2, 127 + 14));
    // No key colour anywhere the window shows.
    int keyed = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (g.dlg.regionContains(x, y) && dc.getPixel(x, y) == kKey) {
                ++keyed;
            }
        }
    }
    EXPECT_EQ(keyed, 0);
}

TEST(Render, UntitledAndUnframedBackgrounds) {
    TestDialog untitled;
    untitled.m_width = 300;
    untitled.m_height = 200;
    untitled.m_hasTitleBar = false;
    untitled.Open();
    untitled.redrawNow();
    const plat::DeviceContext& dc = untitled.backBuffer();
    ASSERT_TRUE(dc.saveImage(RenderPath(u"untitled_dialog.png"_s)));
    EXPECT_EQ(dc.getPixel(1, 100), plat::rgb(187, 240, 250));
    // Narrower than 400 px: shaded from the edge to the centre line, lightest at the centre.
    const plat::ColorRef edge = dc.getPixel(5, 100);
    const plat::ColorRef centre = dc.getPixel(150, 100);
    EXPECT_LT(plat::redOf(edge), plat::redOf(centre));
    EXPECT_GE(plat::redOf(centre), 250);
}

TEST(Render, TooltipWithAWrappedTextAndALink) {
    skintest::ManualClock clock;
    TestDialog dlg;
    skintest::ProbeElement tipped;
    dlg.build = [&](TestDialog& d) {
        tipped.Create(&d.m_rootHolder, 5, QString(), QString(), 0,
                      u"Competition strength from 0 to 100, measured over the top sites of every engine. "
                      u"The manual explains it at http://example.test/manual#strength in detail."_s);
        tipped.SetPosition(20, 60, 100, 40, 0);
    };
    dlg.Open();
    dlg.onMouseMove(50, 70);
    clock.Advance(800);
    dlg.onTimer(skin::kTickTimerId);
    CSkinTooltip_windows* tip = dlg.Tooltip();
    ASSERT_NE(tip, nullptr);
    EXPECT_LE(tip->Width(), 2 * 10 + 350);
    EXPECT_GT(tip->Layout().lines.size(), 1u);
    // Painted into a surface of its own size, as the window host does when it shows.
    ASSERT_EQ(tip->clientSize(), (plat::Size{tip->Width(), tip->Height()}));
    plat::DeviceContext dc(tip->Width(), tip->Height());
    tip->onPaint(dc);
    ASSERT_TRUE(dc.saveImage(RenderPath(u"tooltip.png"_s)));
    // Some pixel of the link is clearly blue, and none of the key colour shows.
    const plat::Rect link = tip->LinkRect();
    bool blue = false;
    for (int y = link.top; y < link.bottom && !blue; ++y) {
        for (int x = link.left; x < link.right && !blue; ++x) {
            const plat::ColorRef c = dc.getPixel(x, y);
            blue = plat::blueOf(c) > 150 && plat::redOf(c) < 100;
        }
    }
    EXPECT_TRUE(blue);
    for (int y = 0; y < dc.height(); ++y) {
        for (int x = 0; x < dc.width(); ++x) {
            ASSERT_NE(dc.getPixel(x, y), kKey) << x << "," << y;
        }
    }
}
