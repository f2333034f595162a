#include "skin/skin_atlas.h"
#include "skin/skin_ico_prj_button.h"
#include "tests/skin/pixel_count.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/window_events.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::TestDialog;

namespace {

QString RenderPath(const QString& name) {
    QDir().mkpath(QStringLiteral(TW_SKIN_RENDER_DIR));
    return QStringLiteral(TW_SKIN_RENDER_DIR) + u'/' + name;
}

// The button as the user sees it in the dialog's back buffer.
struct Shot {
    Shot(TestDialog& dlg, const CSkinIcoPrjButton& b) : dc(b.m_width, b.m_height) {
        dlg.RenderAll(skin::HostWindow(dlg).backBuffer());
        const plat::Point at = b.GetDialogPos();
        dc.bitBlt(0, 0, b.m_width, b.m_height, skin::HostWindow(dlg).backBuffer(), at.x, at.y);
    }
    plat::DeviceContext dc;
};

// Whether the button's back at its centre-right (behind no text or icon) shows the named card picture.
bool ShowsBack(const plat::DeviceContext& shot, const plat::DeviceContext& atlas, const plat::Rect& card) {
    return shot.getPixel(shot.width() - 3, shot.height() / 2) ==
               atlas.getPixel(card.right - 3, card.top + card.height() / 2) &&
           shot.getPixel(2, 2) == atlas.getPixel(card.left + 2, card.top + 2);
}

// The columns [first, last] that hold dark ink in the rows of r; {-1, -1} when none.
std::pair<int, int> InkColumns(const plat::DeviceContext& dc, const plat::Rect& r) {
    int first = -1, last = -1;
    for (int x = r.left; x < r.right; ++x) {
        for (int y = r.top; y < r.bottom; ++y) {
            const plat::ColorRef c = dc.getPixel(x, y);
            if (plat::RedOf(c) < 120 && plat::GreenOf(c) < 150) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

// Under real pointer events the card shows its normal, hot and pressed pictures, and its pressed one while
// selected; disabled it keeps the normal card whatever the pointer does. A click sends the command.
TEST(SkinIcoPrjButton, ShowsTheCardOfItsStateUnderThePointer) {
    TestDialog dlg;
    CSkinIcoPrjButton button, other;
    dlg.build = [&](TestDialog& d) {
        button.Create(&d.m_rootHolder, d.m_nextElementId++, u"Rank Summit"_s, u"kind"_s, 4);
        button.SetPosition(20, 60, 240, 52, 0);
        other.Create(&d.m_rootHolder, d.m_nextElementId++, u"Bid Watchtower"_s, u"kind"_s, 5);
        other.SetPosition(20, 130, 240, 52, 0);
    };
    dlg.Open();
    const plat::DeviceContext& atlas = *button.m_pAtlasDC;
    const plat::Rect normal = skin::AtlasRect("prjButton.normal");
    const plat::Rect hot = skin::AtlasRect("prjButton.hot");
    const plat::Rect pressed = skin::AtlasRect("prjButton.pressed");
    const plat::Rect chosen = skin::AtlasRect("prjButton.chosen");
    const plat::Point centre = skintest::Centre(button);

    skintest::MoveMouse(dlg, {5, 300});
    EXPECT_TRUE(ShowsBack(Shot(dlg, button).dc, atlas, normal));
    skintest::MoveMouse(dlg, centre);
    EXPECT_TRUE(ShowsBack(Shot(dlg, button).dc, atlas, hot));
    skintest::PressMouse(dlg, centre, true);
    EXPECT_TRUE(ShowsBack(Shot(dlg, button).dc, atlas, pressed));
    skintest::PressMouse(dlg, centre, false);
    EXPECT_EQ(dlg.commands, QStringList{u"kind"_s});
    EXPECT_EQ(dlg.params.back(), 4);

    skintest::MoveMouse(dlg, {5, 300});
    button.SetSelected(true);
    EXPECT_TRUE(ShowsBack(Shot(dlg, button).dc, atlas, pressed)) << "selected, pointer elsewhere";
    button.SetSelected(false);
    other.SetBackStyle(2);
    EXPECT_TRUE(ShowsBack(Shot(dlg, other).dc, atlas, chosen));
    other.SetBackStyle(0);
    const plat::Rect push = skin::AtlasRect("button.normal");
    EXPECT_EQ(Shot(dlg, other).dc.getPixel(1, 26), atlas.getPixel(push.left + 1, push.top + 14));
    other.SetBackStyle(9);
    EXPECT_EQ(other.m_back.size, push.size()) << "an unknown style leaves the back";

    button.SetEnabled(false);
    skintest::MoveMouse(dlg, centre);
    skintest::PressMouse(dlg, centre, true);
    EXPECT_TRUE(ShowsBack(Shot(dlg, button).dc, atlas, normal));
    skintest::PressMouse(dlg, centre, false);
    EXPECT_EQ(dlg.commands.size(), 1);
}

// Beside the keyed 42 x 42 icon: the caption left-aligned and cut with an ellipsis inside the card, the
// second text centred and following the selected flag.
TEST(SkinIcoPrjButton, DrawsItsIconAndTwoTextsWithinTheCard) {
    TestDialog dlg;
    CSkinIcoPrjButton button;
    const QString longCaption = u"Partner Prospector with a caption far too long for its card"_s;
    dlg.build = [&](TestDialog& d) {
        button.Create(&d.m_rootHolder, d.m_nextElementId++, longCaption, u"kind"_s, 7);
        button.SetPosition(20, 60, 230, 52, 0);
    };
    dlg.Open();
    const plat::Rect info = skin::AtlasRect("message.info");
    button.SetIcon(nullptr, info.left, info.top, true);
    button.SetTexts(u"Not chosen"_s, u"Chosen kind"_s);

    const Shot taken(dlg, button);
    const plat::DeviceContext& shot = taken.dc;
    ASSERT_TRUE(shot.saveImage(RenderPath(u"prj_button.png"_s)));
    const plat::DeviceContext& atlas = *button.m_pAtlasDC;
    // The icon's keyed corner shows the card, its centre the picture.
    EXPECT_EQ(shot.getPixel(4 + 21, 4 + 21), atlas.getPixel(info.left + 21, info.top + 21));
    EXPECT_NE(shot.getPixel(4, 4), plat::Rgb(255, 0, 255));

    const plat::Rect caption = button.CaptionRect();
    EXPECT_EQ(caption.left, CSkinIcoPrjButton::kIconSize + 14);
    EXPECT_GT(button.m_captionExtent.cx, caption.width()) << "the caption is too long for the card";
    const auto [captionFirst, captionLast] = InkColumns(shot, caption);
    EXPECT_LE(abs(captionFirst - caption.left), 2) << "left-aligned";
    EXPECT_LT(captionLast, caption.right) << "cut inside the card";
    EXPECT_GT(captionLast, caption.right - 16) << "filled to the end, an ellipsis last";
    EXPECT_LT(InkColumns(shot, plat::Rect{caption.right, 0, button.m_width, button.m_height}).first, 0);

    const plat::Rect second = button.SecondTextRect();
    EXPECT_GE(second.top, caption.bottom);
    const auto [notFirst, notLast] = InkColumns(shot, second);
    EXPECT_LE(abs((notFirst + notLast) / 2 - (second.left + second.right) / 2), 3) << "centred";
    button.SetSelected(true);
    const Shot selected(dlg, button);
    const auto [chosenFirst, chosenLast] = InkColumns(selected.dc, button.SecondTextRect());
    EXPECT_GT(chosenLast - chosenFirst, notLast - notFirst) << "the selected text is the longer one";
    EXPECT_LE(abs((chosenFirst + chosenLast) / 2 - (second.left + second.right) / 2), 3);

    button.SetText(u"Rank Summit"_s);
    button.UpdateTextExtent(dlg.MeasureDC());
    const auto [shortFirst, shortLast] = InkColumns(Shot(dlg, button).dc, button.CaptionRect());
    EXPECT_LT(shortLast, caption.right - 40) << "a short caption is not cut";
    EXPECT_LE(abs(shortFirst - caption.left), 2);
}
