#include "skin/message_box_dlg.h"
#include "skin/skin_atlas.h"
#include "skin/skin_button.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_menu_popup.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_clock.h"
#include "tests/support/window_events.h"

#include <QDir>
#include <QImage>
#include <QWidget>
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

// Pixels of the key colour where the window shows: a read outside the atlas's pictures lands on the key.
int KeyPixelsShown(const plat::DeviceContext& dc, const plat::Window* shape) {
    int keyed = 0;
    for (int y = 0; y < dc.height(); ++y)
        for (int x = 0; x < dc.width(); ++x)
            keyed += (!shape || shape->regionContains(x, y)) && dc.getPixel(x, y) == kKey ? 1 : 0;
    return keyed;
}

} // namespace

// Every picture the skin draws is named in the atlas table (a missing name does not compile). A framed dialog
// shows them: its frame and caption buttons, every button preset in every state, a container with both
// auto-scroll bars (the upper one held), a box with both scrollbars and a one-line field. None of them reads
// past its picture onto the key colour around it.
TEST(Render, EverythingTheSkinDrawsComesFromThePicturesOfTheAtlas) {
    TestDialog dlg;
    std::vector<std::unique_ptr<CSkinButton>> buttons;
    CSkinDlgHolder holder(true, false);
    CSkinElement box;
    dlg.m_width = kWidth;
    dlg.m_height = kHeight;
    dlg.m_title = u"Tarnwick 2.0 :: Button gallery"_s;
    dlg.build = [&](TestDialog& d) {
        static const QString kCaptions[kStates] = {u"Normal"_s, u"Hot"_s, u"Disabled"_s, u"Pressed"_s};
        int y = 44;
        for (int preset : kPresets) {
            for (int state = 0; state < kStates; ++state) {
                auto& button = buttons.emplace_back(std::make_unique<CSkinButton>());
                button->Create(&d.m_rootHolder, d.m_nextElementId++, kCaptions[state], u"b"_s);
                button->SetStyle(preset);
                button->SetPosition(16 + state * 108, y, 100, button->m_drawnHeight, 0);
                button->m_enabled = state != 2;
            }
            y += 40;
        }
        holder.Create(&d.m_rootHolder, d.m_nextElementId++);
        holder.SetPosition(470, 44, 154, 100, 0);
        holder.m_contentHeight = 400;
        box.Create(&d.m_rootHolder, d.m_nextElementId++);
        box.SetPosition(470, 154, 154, 90, 0);
        box.m_contentWidth = box.m_contentHeight = 1000;
    };
    dlg.Open();
    holder.m_scrollY = 50; // both bars show
    holder.m_autoScrollDir = -1;
    dlg.m_pPressed = &holder;
    plat::DeviceContext& dc = skin::HostWindow(dlg).backBuffer();
    dlg.RenderAll(dc);
    for (size_t i = 0; i < buttons.size(); ++i) {
        CSkinButton& b = *buttons[i];
        dlg.m_pHover = i % kStates == 1 || i % kStates == 3 ? &b : nullptr;
        dlg.m_pPressed = i % kStates == 3 ? &b : nullptr;
        b.Draw(dc, b.m_x, b.m_y, true);
    }
    dlg.m_pHover = dlg.m_pPressed = nullptr;
    plat::DeviceContext surface(box.m_width, box.m_height);
    box.DrawFrame(0, 0, box.m_width, box.m_height, surface);
    box.DrawScrollbars(surface, 0, 0);
    dc.bitBlt(box.m_x, box.m_y, box.m_width, box.m_height, surface, 0, 0);
    box.DrawFrame(150, 340, 300, 33, dc);
    ASSERT_TRUE(dc.saveImage(RenderPath(u"button_gallery.png"_s)));
    EXPECT_EQ(KeyPixelsShown(dc, &skin::HostWindow(dlg)), 0);
}

// The background drawn again comes from the shading cache: the same pixels as shading afresh, whole or under
// a clip, on a surface that held something else before; sizes the cache let go shade the same again.
TEST(Render, ABackgroundFromTheCacheIsTheBackgroundShadedAfresh) {
    const struct {
        int width, height;
        bool framed, titleBar;
    } cases[] = {{523, 347, true, true}, {731, 455, true, false}, {389, 250, false, false},
                 {401, 433, true, true}, {9, 7, true, true},      {5, 70, false, false}};
    const auto draw = [](TestDialog& dlg, const plat::Rect& clip) {
        auto dc = std::make_unique<plat::DeviceContext>(dlg.m_width + 4, dlg.m_height + 4);
        dc->fillSolidRect(plat::Rect{0, 0, dc->width(), dc->height()}, plat::Rgb(200, 30, 90));
        dc->pushClip(clip);
        dlg.DrawBackground(*dc);
        return dc;
    };
    std::vector<QImage> firstRound;
    for (int round = 0; round < 2; ++round) {
        for (size_t i = 0; i < std::size(cases); ++i) {
            const auto& c = cases[i];
            SCOPED_TRACE(i);
            TestDialog dlg;
            dlg.m_width = c.width;
            dlg.m_height = c.height;
            dlg.m_framed = c.framed;
            dlg.m_hasTitleBar = c.titleBar;
            const plat::Rect all{0, 0, c.width + 4, c.height + 4};
            const plat::Rect part{c.width / 3, 2, c.width - 5, c.height / 2};
            const auto clippedFresh = draw(dlg, part); // a clip that leaves out part of it: nothing kept
            const auto fresh = draw(dlg, all);
            const auto cachedWhole = draw(dlg, all);
            const auto cachedPart = draw(dlg, part);
            EXPECT_EQ(cachedWhole->image(), fresh->image());
            EXPECT_EQ(cachedPart->image(), clippedFresh->image());
            if (round == 0)
                firstRound.push_back(fresh->image());
            else
                EXPECT_EQ(fresh->image(), firstRound[i]);
        }
    }
}

// Painted into a surface of its own size as the window host does: the back from the atlas.
TEST(Render, TooltipWithAWrappedText) {
    twtest::TestClock clock{{.monotonicMs = 1'000'000}};
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
    clock.AdvanceMs(800);
    dlg.onTimer(skin::kTickTimerId);
    CSkinTooltip_windows* tip = dlg.Tooltip();
    ASSERT_NE(tip, nullptr);
    ASSERT_EQ(tip->clientSize(), (plat::Size{tip->Width(), tip->Height()}));
    plat::DeviceContext dc(tip->Width(), tip->Height());
    tip->onPaint(dc);
    ASSERT_TRUE(dc.saveImage(RenderPath(u"tooltip.png"_s)));
    EXPECT_EQ(KeyPixelsShown(dc, nullptr), 0);
}

// The question of the close command with its icon, and an open context menu with an item under the pointer
// over its dialog, as each window shows itself: pictures from the atlas, keyed where they are keyed, and the
// menu's rounded corners cut away.
TEST(Render, MessageBoxAndPopupMenu) {
    TestDialog dlg;
    dlg.m_width = 420;
    dlg.m_height = 260;
    dlg.m_title = u"Tarnwick 2.0 :: Keywords"_s;
    dlg.Open();
    skintest::ModalScript hook([&](CSkinDlg_Base& shown) {
        auto* menu = dynamic_cast<CSkinMenuPopup*>(&shown);
        if (menu) {
            for (int y = 0; y < menu->m_height && menu->HoveredItem() != 3; ++y)
                skintest::MoveMouse(*menu, {60, y});
            EXPECT_FALSE(skin::HostWindow(*menu).regionContains(0, 0));
        }
        shown.RedrawNow();
        EXPECT_EQ(KeyPixelsShown(skin::HostWindow(shown).backBuffer(), &skin::HostWindow(shown)), 0);
        EXPECT_TRUE(skin::HostWindow(shown).backBuffer().saveImage(
            RenderPath(menu ? u"menu.png"_s : u"msgbox.png"_s)));
        shown.EndSkinDialog(skin::kResultNo);
    });
    EXPECT_EQ(dlg.MessageBox(u"You will lose any unsaved results.\nAre you sure you want to continue?"_s,
                             QString(), skin::kMessageYesNo | skin::kMessageQuestion),
              skin::kResultNo);
    const plat::Point at = skin::HostWindow(dlg).clientToScreen({140, 70});
    CSkinMenuPopup menu(&dlg, nullptr, at.x, at.y);
    for (const QString& text : {u"Copy keyword"_s, u"Copy all keywords"_s, u"-"_s, u"Send to Rank Summit"_s,
                                u"Delete selected rows"_s})
        menu.AddItem(text, u"cmd"_s);
    menu.DoModal();
}
